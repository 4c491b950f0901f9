#pragma once

class QLabel;
class QWidget;

// A word-wrapping label in the quiz's type sizes (in pixels), shared by the quiz screen and its
// sheet.
QLabel* makeQuizLabel(QWidget* parent, int pixelSize, bool bold = false);
