#pragma once

#include "platform/ViewController.h"

#include <QHash>
#include <QString>

#include <functional>
#include <memory>

// The scenes of the application, found by identifier. Each scene is a factory that makes a
// new screen; start-up registers them. Callers check the screen's type before using it:
//
//   auto screen = Storyboard::main().instantiate(u"HelpViewController"_s);
//   if (auto* help = qobject_cast<OstivaneHelpViewController*>(screen.get())) ...
class Storyboard {
public:
    using Factory = std::function<std::unique_ptr<ViewController>()>;

    static Storyboard& main();

    // Registers (or replaces) the scene with this identifier; an empty factory removes it.
    void registerScene(const QString& identifier, Factory factory);
    template <class Screen> void registerScene(const QString& identifier) {
        registerScene(identifier, [] { return std::make_unique<Screen>(); });
    }
    void unregisterScene(const QString& identifier);

    // A new screen of the scene, owned by the caller; nullptr for an unknown identifier.
    std::unique_ptr<ViewController> instantiate(const QString& identifier) const;

private:
    QHash<QString, Factory> factories_;
};
