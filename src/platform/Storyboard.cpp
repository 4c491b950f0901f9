#include "platform/Storyboard.h"

Storyboard& Storyboard::main() {
    static Storyboard storyboard;
    return storyboard;
}

void Storyboard::registerScene(const QString& identifier, Factory factory) {
    if (factory)
        factories_.insert(identifier, std::move(factory));
    else
        factories_.remove(identifier);
}

void Storyboard::unregisterScene(const QString& identifier) {
    factories_.remove(identifier);
}

std::unique_ptr<ViewController> Storyboard::instantiate(const QString& identifier) const {
    const auto it = factories_.constFind(identifier);
    if (it == factories_.constEnd())
        return nullptr;
    return (*it)();
}
