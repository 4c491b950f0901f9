// The pseudo-terminal transmitter that the serial tests and the simulator stand on, driven
// here through a plain file descriptor so that its own faults show up on their own.
#include "doubles/PtyTransmitter.h"
#include "doubles/WaitFor.h"

#include <QFileInfo>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace {
// The application's end: the device opened by name, non-blocking.
class DeviceEnd {
public:
    explicit DeviceEnd(const QString& path)
        : fd_(::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {}
    ~DeviceEnd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    bool isOpen() const { return fd_ >= 0; }
    void write(const QByteArray& bytes) {
        ASSERT_EQ(::write(fd_, bytes.constData(), bytes.size()), bytes.size());
    }
    // Everything that arrives within the time.
    QByteArray readFor(int ms) {
        QByteArray all;
        waitFor(
            [&] {
                char buffer[256];
                ssize_t n;
                while ((n = ::read(fd_, buffer, sizeof buffer)) > 0)
                    all.append(buffer, n);
                return false;
            },
            ms);
        return all;
    }

private:
    int fd_;
};
} // namespace

TEST(PtyTransmitter, AnswersCommandsByTheFirstMatchingRule) {
    PtyTransmitter transmitter;
    ASSERT_TRUE(transmitter.open());
    transmitter.addRule(PtyTransmitter::whenNth(0, {"first"}));
    transmitter.addRule(PtyTransmitter::whenEndsWith("\x02\x03", {"ab", "cd"}, 20));
    DeviceEnd app(transmitter.devicePath());
    ASSERT_TRUE(app.isOpen());

    app.write("hello");
    EXPECT_EQ(app.readFor(100), "first");

    // A command written in two parts is one command, answered once it is complete.
    app.write("\x01");
    EXPECT_EQ(app.readFor(60), QByteArray());
    EXPECT_EQ(transmitter.pending(), "\x01");
    app.write("\x02\x03");
    EXPECT_EQ(app.readFor(150), "abcd");

    EXPECT_EQ(transmitter.commands(), (QList<QByteArray>{"hello", "\x01\x02\x03"}));
    EXPECT_EQ(transmitter.received(), "hello\x01\x02\x03");
}

TEST(PtyTransmitter, UnpluggingDropsRepliesAndReplugKeepsTheDeviceName) {
    PtyTransmitter transmitter;
    ASSERT_TRUE(transmitter.open());
    transmitter.addRule(PtyTransmitter::whenEndsWith("go", {"late"}, 80));
    {
        DeviceEnd app(transmitter.devicePath());
        app.write("go");
        ASSERT_TRUE(waitFor([&] { return transmitter.commandCount() == 1; }));
    }
    transmitter.close();
    EXPECT_FALSE(QFileInfo::exists(transmitter.devicePath()));

    ASSERT_TRUE(transmitter.open());
    DeviceEnd app(transmitter.devicePath());
    ASSERT_TRUE(app.isOpen());
    // The reply scheduled before the unplug never reaches the new line.
    EXPECT_EQ(app.readFor(200), QByteArray());
    transmitter.send("fresh");
    EXPECT_EQ(app.readFor(100), "fresh");
}
