#pragma once

#include <QString>

class APIError;

// The message code a support upload shows when one of its cloud requests fails. Every HTTP
// status error counts as a failed exchange, with or without a body, so that the run always
// ends with a message and an unlocked interface.
namespace FailureCode {

// A comm-library request of the run (command, list, header, log types, log data): "5000025"
// when there is no connection, else "8000008".
QString forRequest(const APIError& error);

// The upload of the CSV file: "8000019" when there is no connection, else "8000008".
QString forUpload(const APIError& error);

} // namespace FailureCode
