#include "support/HelpTextRules.h"

#include "core/AppConstants.h"

#include <QTextBoundaryFinder>

namespace {
bool isBlankOrTab(QChar c) {
    return c == u' ' || c == u'\t';
}
} // namespace

int HelpTextRules::characterCount(const QString& text) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    while (finder.toNextBoundary() != -1)
        ++count;
    return count;
}

QString HelpTextRules::limitedToCharacters(const QString& text, int limit) {
    if (limit <= 0)
        return {};
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    qsizetype position = 0;
    while ((position = finder.toNextBoundary()) != -1) {
        if (++count == limit)
            return text.left(position);
    }
    return text;
}

QString HelpTextRules::counterText(int count) {
    return QString::number(count) + AppConstants::Help::characterCountSuffix;
}

QString HelpTextRules::digitsOnly(const QString& text) {
    QString digits;
    digits.reserve(text.size());
    for (QChar c : text) {
        if (AppConstants::Help::digits.contains(c))
            digits.append(c);
    }
    return digits;
}

bool HelpTextRules::isBlankMessage(const QString& text) {
    for (QChar c : text) {
        if (c != u' ')
            return false;
    }
    return true;
}

QString HelpTextRules::trimmedOfBlanksAndTabs(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlankOrTab(text.at(begin)))
        ++begin;
    while (end > begin && isBlankOrTab(text.at(end - 1)))
        --end;
    return text.sliced(begin, end - begin);
}
