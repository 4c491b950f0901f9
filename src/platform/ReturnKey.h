#pragma once

class QKeyEvent;
class QWidget;

// Return and Enter press the push button that has the keyboard focus, as Space does, wherever
// it stands: in a window, where a push button leaves them to its window, and in a dialog, where
// they would press the default button instead. The default button takes them only when no
// other push button has the focus.
namespace ReturnKey {
// Presses the focused push button of the window for Return or Enter without other modifiers
// than the keypad's; returns whether the key was taken. An auto-repeated key presses nothing
// more but is taken all the same.
bool pressFocusedButton(QWidget* window, QKeyEvent* event);
} // namespace ReturnKey
