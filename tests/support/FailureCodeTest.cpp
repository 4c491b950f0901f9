#include "support/FailureCode.h"
#include "cloud/APIError.h"

#include <gtest/gtest.h>

namespace {

TEST(FailureCode, EveryFailedRequestEndsWithAMessage) {
    const std::vector<APIError> failures = {
        APIError::httpError(500, QByteArray("{\"message\":\"boom\"}")),
        APIError::httpError(404, std::nullopt),
        APIError::httpError(502, QByteArray()),
        APIError::serializationError(QStringLiteral("bad map")),
        APIError::other(QStringLiteral("connection refused")),
        APIError::invalidURL(),
        APIError::noData(),
    };
    for (const APIError& error : failures) {
        SCOPED_TRACE(error.localizedDescription().toStdString());
        EXPECT_EQ(FailureCode::forRequest(error), QStringLiteral("8000008"));
        EXPECT_EQ(FailureCode::forUpload(error), QStringLiteral("8000008"));
    }
    EXPECT_EQ(FailureCode::forRequest(APIError::noInternetConnection()), QStringLiteral("5000025"));
    EXPECT_EQ(FailureCode::forUpload(APIError::noInternetConnection()), QStringLiteral("8000019"));
}

} // namespace
