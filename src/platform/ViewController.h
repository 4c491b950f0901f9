#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

class QDialog;

// Base of every screen. A screen builds its widgets in its constructor; its lifecycle hooks
// then run as the screen is used:
// - viewDidLoad(): once per instance, the first time the view is needed: when it is first
//   shown, embedded with addChild(), presented as a sheet, or loaded with loadViewIfNeeded().
// - viewWillAppear(): each time the view is about to become visible.
// - viewDidAppear(): each time after it became visible, from the main queue; skipped when the
//   view was hidden again before then.
// A screen removes its notification-centre registrations when it is destroyed, before its
// widgets go, so no notification reaches a half-destroyed screen.
class ViewController : public QWidget {
    Q_OBJECT
public:
    explicit ViewController(QWidget* parent = nullptr);
    ~ViewController() override;

    bool isViewLoaded() const { return viewLoaded_; }
    void loadViewIfNeeded();

    // Embeds child over this screen's whole area, pinned to all four edges and kept there as
    // this screen resizes, on top of what the screen already shows, which its background
    // hides. The child is loaded and shown; this screen owns it.
    void addChild(ViewController* child);
    // Takes this screen's view out of its parent screen and deletes this screen once control
    // is back in the event loop (safe to call from the screen's own handlers). Does nothing
    // for a screen that has no parent screen.
    void removeFromParent();
    ViewController* parentViewController() const { return parentViewController_; }
    QList<ViewController*> childViewControllers() const;

    // The window that shows this screen, or nullptr when the screen is not in a shown window.
    QWidget* viewWindow() const;

    // Shows sheet as a window-modal dialog over this screen's window and takes ownership of
    // it. Returns false, and deletes the sheet, when this screen is not in a shown window.
    // The sheet closes only through dismiss(), not through Escape or a close button.
    bool presentAsSheet(ViewController* sheet);
    // Closes the sheet that shows this screen and deletes both once control is back in the
    // event loop. Does nothing for a screen that is not presented as a sheet.
    void dismiss();
    bool isPresentedAsSheet() const;
    // The modal dialog that this screen's window currently shows, or nullptr.
    QDialog* attachedSheet() const;

protected:
    virtual void viewDidLoad() {}
    virtual void viewWillAppear() {}
    virtual void viewDidAppear() {}

    void showEvent(QShowEvent* event) override;

private:
    void detachFromParent();

    bool viewLoaded_ = false;
    quint64 appearance_ = 0;
    QPointer<ViewController> parentViewController_;
    QObject* edgePin_ = nullptr;
};
