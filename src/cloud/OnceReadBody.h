#pragma once

#include <QByteArray>
#include <QIODevice>

// A request body that goes on the wire once. When a connection drops before the answer, Qt
// sends the request again on a new connection, rewinding its body to do so. This body refuses
// to be rewound, so such a request ends in QNetworkReply::ContentReSendError instead of
// reaching the server a second time. An empty body (a GET) is refused the same way, which is
// why every request carries one. Redirects are therefore not left to Qt (see sendOnce).
class OnceReadBody final : public QIODevice {
    Q_OBJECT
public:
    explicit OnceReadBody(QByteArray bytes, QObject* parent = nullptr);

    bool isSequential() const override { return false; }
    qint64 size() const override { return bytes_.size(); }
    // Only forwards: going back is how a resend would start.
    bool seek(qint64 pos) override;
    bool reset() override { return false; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 maxSize) override;

private:
    QByteArray bytes_;
};
