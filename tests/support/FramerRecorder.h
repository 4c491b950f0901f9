#pragma once

#include "support/ReplyFramer.h"

#include <QByteArray>
#include <QElapsedTimer>

#include <vector>

// Listens to a framer and keeps what it handed out, with the time since the recorder began.
struct FramerRecorder {
    struct Reply {
        logCommand command;
        QByteArray frame;
        qint64 atMs;
    };
    struct TimeOut {
        logCommand command;
        qint64 atMs;
    };

    explicit FramerRecorder(ReplyFramer& framer) {
        clock.start();
        QObject::connect(&framer, &ReplyFramer::replyReady, &framer,
                         [this](logCommand command, const QByteArray& frame) {
                             replies.push_back({command, frame, clock.elapsed()});
                         });
        QObject::connect(&framer, &ReplyFramer::replyTimedOut, &framer, [this](logCommand command) {
            timeOuts.push_back({command, clock.elapsed()});
        });
        QObject::connect(&framer, &ReplyFramer::replyTooLarge, &framer, [this](logCommand command) {
            tooLarge.push_back({command, clock.elapsed()});
        });
    }

    QElapsedTimer clock;
    std::vector<Reply> replies;
    std::vector<TimeOut> timeOuts;
    std::vector<TimeOut> tooLarge;
};

// A transmitter reply: type byte, little-endian payload length, payload.
inline QByteArray replyFrame(quint8 type, const QByteArray& payload) {
    QByteArray frame;
    frame.append(static_cast<char>(type));
    frame.append(static_cast<char>(payload.size() & 0xff));
    frame.append(static_cast<char>((payload.size() >> 8) & 0xff));
    return frame + payload;
}
