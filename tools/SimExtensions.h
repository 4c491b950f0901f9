#pragma once

#include <QDir>
#include <QJsonObject>
#include <QString>

#include <functional>

class LoopbackCloud;
class PtyTransmitter;

// What a piece of the simulator written in code gets to work with.
struct SimContext {
    LoopbackCloud& cloud;
    PtyTransmitter& transmitter;
    // Where the simulator keeps what it receives (uploads, e-mails); it exists.
    QDir outputDir;
    // The whole script, for extensions that read a section of their own.
    QJsonObject script;
    // The settings folder of the application's run (its XDG_CONFIG_HOME); empty when none was
    // given, and then nothing is written into the application's settings.
    QString configHome;
};

// Routes whose answers the script cannot express (answers that depend on the request, or
// that keep what they received) are added in code, one file per subject:
//
//   // tools/HelpRoutes.cpp
//   static const bool registered = registerSimExtension("help e-mails", [](SimContext& sim) {
//       sim.cloud.route("POST", "/api/zub/SendZubEmail", ...);
//   });
//
// Extensions run after the script's routes are installed, in the order of their names, and
// may replace them. Returns true so it can initialise a static.
using SimExtension = std::function<void(SimContext&)>;
bool registerSimExtension(const QString& name, SimExtension extension);

// Runs every registered extension; returns their names in the order they ran.
QStringList runSimExtensions(SimContext& context);
