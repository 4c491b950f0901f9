#include "support/FailureCode.h"

#include "cloud/APIError.h"
#include "core/AppConstants.h"

namespace Codes = AppConstants::Codes;

QString FailureCode::forRequest(const APIError& error) {
    return error.is(APIError::Kind::noInternetConnection)
               ? Codes::noInternetConnection
               : Codes::transmitterNotFoundOrAnyErrorOccured;
}

QString FailureCode::forUpload(const APIError& error) {
    return error.is(APIError::Kind::noInternetConnection)
               ? Codes::checkInternetConnectionBeforeUpload
               : Codes::transmitterNotFoundOrAnyErrorOccured;
}
