// The support upload in the simulator: the comm-library's log paths, the transmitter's replies
// to every log command and the support page that keeps the uploaded files in the output
// folder. The script's optional "supportUpload" section sets "logTypes" (id to log name),
// "logUsageCommands", "tagClassCommands" and "chunkGapMs".
#include "SimExtensions.h"

#include "doubles/SupportUploadScenario.h"

#include <QJsonObject>

#include <memory>

namespace {

SupportUploadScenario::Options optionsFrom(const QJsonObject& section, const QDir& outputDir) {
    SupportUploadScenario::Options options;
    options.uploadFolder = outputDir.path();
    // Real quiet periods are 3 s and 10 s: pieces a fifth of a second apart stay one reply.
    options.chunkGapMs = section.value(QStringLiteral("chunkGapMs")).toInt(200);
    options.logUsageCommands =
        section.value(QStringLiteral("logUsageCommands")).toInt(options.logUsageCommands);
    options.tagClassCommands =
        section.value(QStringLiteral("tagClassCommands")).toInt(options.tagClassCommands);
    if (section.value(QStringLiteral("logTypes")).isObject())
        options.logTypes = section.value(QStringLiteral("logTypes")).toObject();
    return options;
}

} // namespace

[[maybe_unused]] static const bool registered =
    registerSimExtension(QStringLiteral("support upload"), [](SimContext& sim) {
        // Lives as long as the simulator: the support page keeps what it received.
        static std::unique_ptr<SupportUploadScenario> scenario;
        scenario = std::make_unique<SupportUploadScenario>(
            sim.cloud, sim.transmitter,
            optionsFrom(sim.script.value(QStringLiteral("supportUpload")).toObject(),
                        sim.outputDir));
        scenario->install();
    });
