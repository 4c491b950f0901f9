#pragma once

class QLabel;
class QWidget;

// A word-wrapping label in the quiz's type sizes, shared by the quiz screen and its sheet.
QLabel* makeQuizLabel(QWidget* parent, int pointSize, bool bold = false);
