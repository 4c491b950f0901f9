#include "platform/SheetDialog.h"

#include "platform/ReturnKey.h"
#include "platform/ViewController.h"

#include <QCloseEvent>
#include <QVBoxLayout>

#include <algorithm>

SheetDialog::SheetDialog(QWidget* window, ViewController* content)
    : QDialog(window), content_(content) {
#ifdef Q_OS_MACOS
    setWindowFlags(Qt::Sheet);
#else
    // A part of the window it lies over: a title bar with the window's own title, and no
    // button to minimise, maximise or close it.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
#endif
    setWindowModality(Qt::WindowModal);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content);
    setWindowTitle(window->windowTitle());
    content->installEventFilter(this);
}

void SheetDialog::dismissSheet() {
    if (dismissing_)
        return;
    dismissing_ = true;
    hide();
    deleteLater();
}

void SheetDialog::reject() {
    if (dismissing_)
        QDialog::reject();
    else
        content_->cancelOperation();
}

bool SheetDialog::event(QEvent* event) {
    const bool handled = QDialog::event(event);
    if (event->type() == QEvent::LayoutRequest)
        fitContent();
    return handled;
}

bool SheetDialog::eventFilter(QObject* watched, QEvent* event) {
    // A text filled in after the sheet was shown reaches the content's layout first.
    if (watched == content_ && event->type() == QEvent::LayoutRequest)
        fitContent();
    return QDialog::eventFilter(watched, event);
}

void SheetDialog::fitContent() {
    QLayout* box = layout();
    if (!box)
        return;
    box->activate();
    const int width = std::max(this->width(), box->totalMinimumSize().width());
    // Wrapped labels need the height their width gives them, which the minimum size of a
    // window's layout leaves out.
    const int height =
        box->hasHeightForWidth() ? box->totalHeightForWidth(width) : box->totalSizeHint().height();
    setMinimumHeight(std::max(box->totalMinimumSize().height(), height));
    if (this->height() < minimumHeight() || this->width() < width)
        resize(width, std::max(this->height(), minimumHeight()));
}

void SheetDialog::keyPressEvent(QKeyEvent* event) {
    if (!ReturnKey::pressFocusedButton(this, event))
        QDialog::keyPressEvent(event);
}

void SheetDialog::closeEvent(QCloseEvent* event) {
    if (!dismissing_)
        event->ignore();
}
