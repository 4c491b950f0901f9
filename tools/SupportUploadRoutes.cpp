// The support upload in the simulator: the comm-library's log paths, the transmitter's replies
// to every log command, and the support page, which writes each uploaded file into the
// simulator's output folder.
#include "SimExtensions.h"

#include "doubles/SupportUploadScenario.h"

#include <memory>

namespace {

SupportUploadScenario::Options simulatorOptions(const QDir& outputDir) {
    SupportUploadScenario::Options options;
    options.uploadFolder = outputDir.path();
    // Three logs: a whole upload takes about a minute with the real quiet periods (3 s, and
    // 10 s for log data). Pieces of a reply a fifth of a second apart stay one reply.
    options.logTypes = {{QStringLiteral("1"), QStringLiteral("BatteryRecords")},
                        {QStringLiteral("2"), QStringLiteral("AlarmRecords")},
                        {QStringLiteral("9"), QStringLiteral("EventRecords")}};
    options.chunkGapMs = 200;
    return options;
}

[[maybe_unused]] const bool registered =
    registerSimExtension(QStringLiteral("support upload"), [](SimContext& sim) {
        // Lives as long as the simulator: the support page keeps what it received.
        static std::unique_ptr<SupportUploadScenario> scenario;
        scenario = std::make_unique<SupportUploadScenario>(sim.cloud, sim.transmitter,
                                                           simulatorOptions(sim.outputDir));
        scenario->install();
    });

} // namespace
