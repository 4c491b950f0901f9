#pragma once

#include <QString>

// The help screen's text rules, free of widgets: the message limit and its counter, the zip
// filter, and the emptiness tests of the forms.
namespace HelpTextRules {

// The message may hold at most this many user-perceived characters.
inline constexpr int messageLimit = 1000;

// Number of user-perceived characters (grapheme clusters): an emoji with its modifiers, or a
// letter with its combining marks, counts once.
int characterCount(const QString& text);

// The text cut after its first `limit` user-perceived characters; a shorter text unchanged.
// A cluster is never split, so no half of a surrogate pair or of an emoji sequence is kept.
QString limitedToCharacters(const QString& text, int limit = messageLimit);

// "N of 1000 Characters".
QString counterText(int count);

// The text with every character removed that is not one of the ASCII digits 0 to 9.
QString digitsOnly(const QString& text);

// True when the message holds nothing but blanks (U+0020). Line breaks and tabs count as
// content here: such a message is sent as typed.
bool isBlankMessage(const QString& text);

// The text without blanks and tabs at either end; line breaks are kept.
QString trimmedOfBlanksAndTabs(const QString& text);

} // namespace HelpTextRules
