#include "support/UploadProgress.h"

#include "core/AppConstants.h"

double UploadProgress::add(double increment) {
    if (increment > 0)
        value_ += increment;
    return value_;
}

int UploadProgress::wholePercent() const {
    return static_cast<int>(value_);
}

QString UploadProgress::percentageLine() const {
    return QString::number(wholePercent()) + AppConstants::SupportUpload::progressSuffix;
}
