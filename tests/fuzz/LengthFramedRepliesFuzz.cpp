// Length-framed reply collection: a stream of chunks for one length-framed command. A reply is
// handed out exactly when the length in its header is met, with the whole of the chunk that
// met it, and its bytes are the stream's own, in order.
#include "support/FuzzInput.h"

#include "core/Helper.h"
#include "support/LogCommand.h"
#include "support/ReplyFramer.h"

#include <QList>

#include <vector>

namespace {

std::vector<logCommand> lengthFramedCommands() {
    std::vector<logCommand> commands;
    for (logCommand command : LogCommands::all()) {
        if (LogCommands::rule(command).framing == ReplyFraming::lengthHeader)
            commands.push_back(command);
    }
    return commands;
}

// The two readings of the header size agree; a value that is no byte gives none.
void checkSizeReadings(FuzzInput& input) {
    QList<int> values;
    QByteArray bytes;
    bool allBytes = true;
    for (int i = input.number(0, 5); i > 0; --i) {
        const int value = input.number(-2, 257);
        values.append(value);
        allBytes = allBytes && value >= 0 && value <= 255;
        bytes.append(static_cast<char>(value));
    }
    const std::optional<int> fromInts = Helper::getUSBMessageSize(values);
    if (!allBytes) {
        FUZZ_CHECK(!fromInts, QStringLiteral("a value outside 0..255 was read as a byte"));
        return;
    }
    FUZZ_CHECK(fromInts == Helper::getUSBMessageSize(bytes), {});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ensureFuzzApplication();
    static const std::vector<logCommand> commands = lengthFramedCommands();
    FuzzInput input(data, size);
    checkSizeReadings(input);
    const logCommand command =
        commands[static_cast<std::size_t>(input.number(0, static_cast<int>(commands.size()) - 1))];

    ReplyFramer framer;
    QByteArray stream;    // every byte fed since the command was written
    QByteArray handedOut; // every reply, one after another
    QByteArray chunk;
    qsizetype heldBefore = 0;
    int repliesInChunk = 0;
    QObject::connect(
        &framer, &ReplyFramer::replyReady, &framer,
        [&](logCommand replied, const QByteArray& frame) {
            ++repliesInChunk;
            FUZZ_CHECK(replied == command, {});
            FUZZ_CHECK(framer.collectedSize() == 0, {});
            const std::optional<int> expected = Helper::getUSBMessageSize(frame);
            FUZZ_CHECK(expected && frame.size() >= *expected,
                       QStringLiteral("an incomplete reply was handed out"));
            FUZZ_CHECK(heldBefore < *expected, QStringLiteral("a complete reply was held back"));
            FUZZ_CHECK(frame.size() == heldBefore + chunk.size(),
                       QStringLiteral("the completing chunk was split"));
            handedOut += frame;
            const std::optional<QByteArray> body = LogCommands::replyBody(command, frame);
            const qsizetype header =
                LogCommands::rule(command).keepsHeader ? 0 : LogCommands::replyHeaderSize;
            FUZZ_CHECK(body && body->size() == frame.size() - header, {});
        });
    QObject::connect(&framer, &ReplyFramer::replyTimedOut, &framer,
                     [](logCommand) { FUZZ_CHECK(false, QStringLiteral("no time passes here")); });
    QObject::connect(&framer, &ReplyFramer::replyTooLarge, &framer, [](logCommand) {
        FUZZ_CHECK(false, QStringLiteral("a length-framed reply is bounded by its header"));
    });

    framer.setCurrentCommand(command);
    framer.commandWritten();
    while (!input.atEnd()) {
        chunk = input.chunk();
        heldBefore = framer.collectedSize();
        repliesInChunk = 0;
        stream += chunk;
        framer.receive(chunk);
        FUZZ_CHECK(repliesInChunk <= 1, QStringLiteral("one chunk ended two replies"));
        FUZZ_CHECK(stream.startsWith(handedOut),
                   QStringLiteral("a reply holds bytes the stream did not have there"));
        const qsizetype held = framer.collectedSize();
        FUZZ_CHECK(handedOut.size() + held <= stream.size(), {});
        if (held >= LogCommands::replyHeaderSize && handedOut.size() + held == stream.size()) {
            const std::optional<int> expected = Helper::getUSBMessageSize(stream.right(held));
            FUZZ_CHECK(expected && held < *expected,
                       QStringLiteral("a complete reply is still held"));
        }
        if (repliesInChunk == 1)
            FUZZ_CHECK(!framer.isAwaitingReply(), QStringLiteral("a finished exchange waits on"));
    }
    return 0;
}
