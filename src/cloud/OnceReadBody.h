#pragma once

#include <QByteArrayList>
#include <QIODevice>
#include <QPointer>

class QNetworkReply;

// A request body that goes on the wire once. When a connection drops before the answer, Qt
// sends the request again on a new connection, rewinding its body to do so; it rewinds for
// nothing else. This body refuses to be rewound, so such a request ends in
// QNetworkReply::ContentReSendError instead of reaching the server a second time. An empty
// body (a GET) is refused the same way, which is why every request carries one.
//
// The one exception is a redirect that asks for the body again (307, 308): that sends the
// request to another address, which has not seen it, so one rewind is allowed for each such
// redirect of the reply the body is given to.
class OnceReadBody final : public QIODevice {
    Q_OBJECT
public:
    explicit OnceReadBody(QByteArray bytes, QObject* parent = nullptr);

    bool isSequential() const override { return false; }
    qint64 size() const override { return bytes_.size(); }
    bool seek(qint64 pos) override;
    bool reset() override;

    // The reply that sends this body; its redirects are the only rewinds let through.
    void setReply(QNetworkReply* reply) { reply_ = reply; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 maxSize) override;

private:
    // Whether a rewind may happen now: only to follow a redirect not followed before.
    bool takeRewind();

    QByteArray bytes_;
    QPointer<QNetworkReply> reply_;
    QByteArrayList redirectsFollowed_;
};
