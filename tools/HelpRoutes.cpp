// The help screen's portal requests: configuration look-ups, audit history and the e-mails
// to customer support, which are kept in the simulator's output folder.
#include "SimExtensions.h"

#include "doubles/HelpSimRoutes.h"

namespace {
[[maybe_unused]] const bool registered =
    registerSimExtension(QStringLiteral("help e-mails"),
                         [](SimContext& sim) { HelpSimRoutes::install(sim.cloud, sim.outputDir); });
} // namespace
