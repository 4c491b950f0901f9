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
    // this screen resizes, on top of what the screen already shows. What it covers is out of
    // use (platform/Cover.h) until it goes, and it takes the keyboard focus. The child is
    // loaded and shown; this screen owns it.
    void addChild(ViewController* child);
    // Takes this screen's view out of its parent screen and deletes this screen once control
    // is back in the event loop (safe to call from the screen's own handlers). What it covered
    // comes back, and the focus returns where it was, or else to the parent's first control.
    // Does nothing for a screen that has no parent screen.
    void removeFromParent();
    ViewController* parentViewController() const { return parentViewController_; }
    QList<ViewController*> childViewControllers() const;

    // What the screen needs takes in what its embedded child needs: the child covers it.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The window that shows this screen, or nullptr when the screen is not in a shown window.
    QWidget* viewWindow() const;

    // Shows sheet as a window-modal dialog over this screen's window and takes ownership of
    // it. Returns false, and deletes the sheet, when this screen is not in a shown window.
    // The sheet closes only through dismiss(), not through a close button; Escape calls its
    // cancelOperation().
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
    // Escape pressed in a sheet showing this screen. Nothing by default: a sheet that offers
    // a way out takes it here.
    virtual void cancelOperation() {}

    void showEvent(QShowEvent* event) override;

private:
    friend class SheetDialog;

    void detachFromParent();
    // Covers everything but the topmost embedded child, and lifts the cover from what is no
    // longer under it; `leaving` is a child on its way out.
    void updateCover(const ViewController* leaving, bool focusWasInLeaving);
    ViewController* topChild(const ViewController* leaving) const;
    void restoreFocus();
    // Whether the keyboard focus is on this screen or inside it.
    bool holdsFocus() const;

    bool viewLoaded_ = false;
    quint64 appearance_ = 0;
    QPointer<ViewController> parentViewController_;
    QObject* edgePin_ = nullptr;
    QList<QPointer<QWidget>> covered_;
    QPointer<ViewController> coveringChild_;
    QPointer<QWidget> focusBeforeCover_;
    bool destroying_ = false;
};
