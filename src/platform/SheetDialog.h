#pragma once

#include <QDialog>

class ViewController;

// The window-modal dialog that carries a screen presented as a sheet. Like a sheet it has no
// way out of its own: Escape and the window's close button leave it open, and only the
// screen's dismiss() closes it.
class SheetDialog final : public QDialog {
    Q_OBJECT
public:
    SheetDialog(QWidget* window, ViewController* content);

    ViewController* content() const { return content_; }
    // Hides the sheet and deletes it, with its screen, once control is back in the event loop.
    void dismissSheet();

    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    ViewController* content_;
    bool dismissing_ = false;
};
