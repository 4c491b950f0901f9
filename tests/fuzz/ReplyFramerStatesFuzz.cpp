// The reply framer as a state machine: any order of commands, writes, chunks, passing time
// (quiet ends and deadlines) and resets. Time is under the input's control: a period started
// while "instant" is on lasts no time and ends at the next pass of the event loop; one started
// otherwise outlasts the input.
#include "support/FuzzInput.h"

#include "core/Helper.h"
#include "platform/TimeScale.h"
#include "support/LogCommand.h"
#include "support/ReplyFramer.h"

#include <QCoreApplication>

#include <set>

namespace {

constexpr double kInstant = 1e-9; // every period rounds to 0 ms
constexpr double kSlow = 1.0;

enum Op { pickCommand, writeCommand, feedChunk, letTimePass, resetFramer, switchTime, opCount };

struct Model {
    std::set<logCommand> written; // commands written since the last reset
    qsizetype bytesIn = 0;        // bytes fed since the last reset
    qsizetype bytesOut = 0;       // bytes handed out since the last reset
    int outcomes = 0;
    int outcomesSinceWrite = 0;
    // The latest write started its deadline at instant speed and no byte has come since.
    bool silentInstantWait = false;
};

void checkOutcome(Model& model, const ReplyFramer& framer, logCommand command) {
    FUZZ_CHECK(++model.outcomesSinceWrite == 1, QStringLiteral("one write, two outcomes"));
    FUZZ_CHECK(model.written.count(command) == 1,
               QStringLiteral("an outcome for a command that was not written: ") +
                   LogCommands::caseName(command));
    FUZZ_CHECK(framer.collectedSize() == 0, QStringLiteral("bytes kept past an outcome"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ensureFuzzApplication();
    FuzzInput input(data, size);
    TimeScale::setFactor(kSlow);
    Model model;
    ReplyFramer framer;
    QObject::connect(&framer, &ReplyFramer::replyReady, &framer,
                     [&](logCommand command, const QByteArray& frame) {
                         checkOutcome(model, framer, command);
                         ++model.outcomes;
                         FUZZ_CHECK(!frame.isEmpty(), QStringLiteral("an empty reply"));
                         model.bytesOut += frame.size();
                         FUZZ_CHECK(model.bytesOut <= model.bytesIn,
                                    QStringLiteral("more bytes handed out than came in"));
                         if (LogCommands::rule(command).framing == ReplyFraming::lengthHeader) {
                             const std::optional<int> expected = Helper::getUSBMessageSize(frame);
                             FUZZ_CHECK(expected && frame.size() >= *expected,
                                        QStringLiteral("an incomplete length-framed reply"));
                         }
                     });
    QObject::connect(&framer, &ReplyFramer::replyTimedOut, &framer, [&](logCommand command) {
        checkOutcome(model, framer, command);
        ++model.outcomes;
    });
    QObject::connect(&framer, &ReplyFramer::replyTooLarge, &framer, [&](logCommand command) {
        checkOutcome(model, framer, command);
        ++model.outcomes;
        FUZZ_CHECK(LogCommands::rule(command).framing == ReplyFraming::quietPeriod,
                   QStringLiteral("a length-framed reply is bounded by its header"));
    });

    const auto& all = LogCommands::all();
    while (!input.atEnd()) {
        switch (input.number(0, opCount - 1)) {
        case pickCommand:
            framer.setCurrentCommand(
                all[static_cast<std::size_t>(input.number(0, LogCommands::count - 1))]);
            // Nothing is awaited until the new command is written.
            FUZZ_CHECK(!framer.isAwaitingReply(),
                       QStringLiteral("an unwritten command is awaited"));
            model.silentInstantWait = false;
            break;
        case writeCommand:
            model.written.insert(framer.currentCommand());
            model.outcomesSinceWrite = 0;
            framer.commandWritten();
            FUZZ_CHECK(framer.isAwaitingReply(),
                       QStringLiteral("a written command is not awaited"));
            FUZZ_CHECK(framer.collectedSize() == 0,
                       QStringLiteral("old bytes kept for a new command"));
            model.silentInstantWait = TimeScale::factor() == kInstant;
            break;
        case feedChunk: {
            const QByteArray chunk = input.chunk();
            model.bytesIn += chunk.size();
            if (!chunk.isEmpty())
                model.silentInstantWait = false;
            framer.receive(chunk);
            break;
        }
        case letTimePass: {
            const int before = model.outcomes;
            QCoreApplication::processEvents();
            QCoreApplication::processEvents();
            if (model.silentInstantWait) {
                FUZZ_CHECK(model.outcomes > before && !framer.isAwaitingReply(),
                           QStringLiteral("a silent transmitter was waited for past the limit"));
                model.silentInstantWait = false;
            }
            break;
        }
        case resetFramer:
            framer.reset();
            model = Model{};
            FUZZ_CHECK(!framer.isAwaitingReply() && framer.collectedSize() == 0, {});
            // Nothing that was under way may surface now.
            QCoreApplication::processEvents();
            break;
        case switchTime:
            TimeScale::setFactor(TimeScale::factor() == kSlow ? kInstant : kSlow);
            break;
        default:
            break;
        }
    }
    TimeScale::setFactor(kSlow);
    return 0;
}
