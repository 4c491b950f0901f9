#pragma once

#include "cloud/APIResult.h"
#include "doubles/LoopbackCloud.h"
#include "platform/RegularFile.h"

#include <QTemporaryDir>
#include <QVariantMap>
#include <gtest/gtest.h>

#include <optional>

// A loopback cloud that the configuration points at: the portal and web bases are its root,
// the comm-library base is its "/commlib". Connected, signed out, scale 1 at the start of
// every test.
class CloudTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString commLibUrl(const QString& path) const;

    // Runs a request and waits (bounded) for its completion; nothing when none came.
    std::optional<APIResult> call(const QString& url, const QVariantMap& parameters = {},
                                  HTTPMethod method = HTTPMethod::POST,
                                  ContentType contentType = ContentType::json,
                                  int timeoutMs = 5000);
    std::optional<APIResult> upload(const QString& url, const QString& filename,
                                    int timeoutMs = 5000,
                                    qint64 maxBytes = RegularFile::maxReadBytes);

    LoopbackCloud cloud;
    QTemporaryDir configFolder;
};
