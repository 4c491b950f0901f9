#include "quiz/QuizLabels.h"

#include <QFont>
#include <QLabel>

QLabel* makeQuizLabel(QWidget* parent, int pixelSize, bool bold) {
    auto* label = new QLabel(parent);
    QFont font = label->font();
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    label->setFont(font);
    label->setWordWrap(true);
    return label;
}
