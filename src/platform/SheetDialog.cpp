#include "platform/SheetDialog.h"

#include "platform/ViewController.h"

#include <QCloseEvent>
#include <QVBoxLayout>

SheetDialog::SheetDialog(QWidget* window, ViewController* content)
    : QDialog(window), content_(content) {
#ifdef Q_OS_MACOS
    setWindowFlags(Qt::Sheet);
#endif
    setWindowModality(Qt::WindowModal);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content);
    setWindowTitle(content->windowTitle());
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
}

void SheetDialog::closeEvent(QCloseEvent* event) {
    if (!dismissing_)
        event->ignore();
}
