#pragma once

#include <QDialog>

class ViewController;

// The window-modal dialog that carries a screen presented as a sheet: a part of the window it
// lies over, under that window's title. Like a sheet it has no way out of its own: it has no
// close button (and a close request leaves it open), Escape is the screen's to handle
// (ViewController::cancelOperation), and only the screen's dismiss() closes it. Return and
// Enter press the focused button, the default one when no other has the focus.
// Being window-modal, it keeps the keyboard and the mouse from the window beneath while it is
// shown. It grows to fit its content whenever that changes, wrapped texts included.
class SheetDialog final : public QDialog {
    Q_OBJECT
public:
    SheetDialog(QWidget* window, ViewController* content);

    ViewController* content() const { return content_; }
    // Hides the sheet and deletes it, with its screen, once control is back in the event loop.
    void dismissSheet();

    void reject() override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void fitContent();

    ViewController* content_;
    bool dismissing_ = false;
};
