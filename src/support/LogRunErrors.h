#pragma once

#include "support/CloudAnswer.h"

#include <QByteArray>

#include <exception>
#include <stdexcept>

// Why a wait of the support upload's run did not end with its result. Each is thrown into the
// waiting coroutine.

// The run has ended and the user has been told; whatever waited for it stops.
class LogRunEnded : public std::exception {
public:
    const char* what() const noexcept override { return "The support upload has ended."; }
};

// The computer went offline before one of a log's command exchanges.
class NotConnectedToInternet : public std::exception {
public:
    const char* what() const noexcept override {
        return "The Internet connection appears to be offline.";
    }
};

// An answer of the cloud that cannot be used.
class UnusableAnswer : public std::runtime_error {
public:
    explicit UnusableAnswer(AnswerError error)
        : std::runtime_error(error.description.toStdString()), error_(std::move(error)) {}
    const AnswerError& error() const { return error_; }

private:
    AnswerError error_;
};
