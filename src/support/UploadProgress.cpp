#include "support/UploadProgress.h"

double UploadProgress::add(double increment) {
    if (increment > 0)
        value_ += increment;
    return value_;
}

int UploadProgress::wholePercent() const {
    return static_cast<int>(value_);
}

QString UploadProgress::percentageLine() const {
    return QString::number(wholePercent()) +
           QStringLiteral("% of upload completed. Please wait...");
}
