// The cloud's base64 commands: strict decoding of any text, long texts included, and the
// encoding the replies go back in. What decodes encodes back to the same text, bytes survive
// the round trip, and a text the strict rule refuses is never written.
#include "support/FuzzInput.h"

#include "transmitter/ORSSerialPortHandler.h"

#include <QList>

namespace {

void checkRoundTrip(const QByteArray& bytes) {
    const QString text = ORSSerialPortHandler::getBase64String(bytes);
    const std::optional<QByteArray> back = ORSSerialPortHandler::decodeBase64(text);
    FUZZ_CHECK(back && *back == bytes,
               QStringLiteral("%1 bytes did not survive base64").arg(bytes.size()));
}

void checkText(const QString& text) {
    const std::optional<QByteArray> bytes = ORSSerialPortHandler::decodeBase64(text);
    const auto qt =
        QByteArray::fromBase64Encoding(text.toUtf8(), QByteArray::AbortOnBase64DecodingErrors);
    if (!bytes) {
        // Refused text is never written, port or no port.
        FUZZ_CHECK(!ORSSerialPortHandler::shared().sendCommandToTransmitter(text), {});
        return;
    }
    FUZZ_CHECK(text.size() % 4 == 0, QStringLiteral("unpadded text accepted"));
    FUZZ_CHECK(qt.decodingStatus == QByteArray::Base64DecodingStatus::Ok && qt.decoded == *bytes,
               QStringLiteral("accepted text is not standard base64"));
    FUZZ_CHECK(bytes->size() == text.size() / 4 * 3 - text.count(QLatin1Char('=')), {});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ensureFuzzApplication();
    FuzzInput input(data, size);
    switch (input.number(0, 3)) {
    case 0: // any text
        checkText(QString::fromUtf8(input.rest()));
        break;
    case 1: // any bytes, and the same bytes as integers
    {
        const QByteArray bytes = input.rest();
        checkRoundTrip(bytes);
        QList<int> values;
        for (char c : bytes)
            values.append(static_cast<quint8>(c));
        FUZZ_CHECK(ORSSerialPortHandler::getBase64String(values) ==
                       ORSSerialPortHandler::getBase64String(bytes),
                   {});
        values.insert(input.number(0, static_cast<int>(values.size())), input.flag() ? -1 : 256);
        FUZZ_CHECK(ORSSerialPortHandler::getBase64String(values).isEmpty(),
                   QStringLiteral("a value that is no byte was encoded"));
        break;
    }
    case 2: // a long command: a block repeated up to a few megabytes, then a tail
    {
        const QByteArray block = input.chunk();
        const int times = input.number(1, 1 << 16);
        QByteArray bytes;
        bytes.reserve(block.size() * times);
        for (int i = 0; i < times && bytes.size() < (4 << 20); ++i)
            bytes += block;
        bytes += input.rest();
        checkRoundTrip(bytes);
        break;
    }
    default: // a long text
    {
        const QByteArray block = input.chunk();
        const int times = input.number(1, 1 << 16);
        QByteArray text;
        for (int i = 0; i < times && text.size() < (4 << 20); ++i)
            text += block;
        text += input.rest();
        checkText(QString::fromLatin1(text));
        break;
    }
    }
    return 0;
}
