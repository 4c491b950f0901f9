#pragma once

#include <QString>
#include <Qt>

#include <optional>

// What one showing of the quiz alert sheet shows. Every field may be absent; an absent
// sub-heading also hides its line, and an absent alignment centres message and note.
struct QuizAlertInfo {
    std::optional<QString> headerPrimaryText;
    std::optional<QString> headerSecondaryText;
    std::optional<QString> message;
    std::optional<QString> note;
    std::optional<QString> subHeading;
    std::optional<Qt::Alignment> textAlignment = Qt::AlignHCenter;
};
