// Strict decoding of every record the cloud sends, and the readers of the support upload's
// answers. Beyond not crashing: a result has a value or an error, never both or neither; a
// record decodes alone exactly when it decodes as the one element of an array; keys a record
// does not know change nothing; an answer read as usable holds what its reader promises.
#include "support/FuzzInput.h"

#include "models/AuditHistoryElement.h"
#include "models/EuaMessage.h"
#include "models/JsonDecoder.h"
#include "models/Quiz.h"
#include "models/QuizAnswers.h"
#include "models/StructGetFromZubAppConfig.h"
#include "models/StructQuizResult.h"
#include "models/UserFirmwareInfo.h"
#include "support/CloudAnswer.h"

#include <QJsonDocument>

namespace {

template <typename T> void checkResult(const DecodeResult<T>& result) {
    FUZZ_CHECK(result.ok() == result.error().isEmpty(),
               QStringLiteral("a value with an error, or neither: ") + result.error());
}

template <typename T> void checkRecord(const QByteArray& json) {
    const DecodeResult<T> alone = JsonDecoder::decodeObject<T>(json);
    checkResult(alone);
    const DecodeResult<QList<T>> list = JsonDecoder::decodeArray<T>(json);
    checkResult(list);
    const DecodeResult<QList<T>> wrapped = JsonDecoder::decodeArray<T>("[" + json + "]");
    checkResult(wrapped);
    if (!JsonDecoder::parse(json).ok() || !JsonDecoder::parse("[" + json + "]").ok())
        return; // wrapping may take a document past the parser's depth
    FUZZ_CHECK(alone.ok() == wrapped.ok(), QStringLiteral("one element of an array decodes "
                                                          "otherwise than alone"));
    FUZZ_CHECK(!wrapped.ok() || wrapped.value().size() == 1, {});
    if (!alone.ok()) {
        FUZZ_CHECK(wrapped.error().startsWith(QStringLiteral("[0]")),
                   QStringLiteral("an element's error does not say where: ") + wrapped.error());
        return;
    }
    // An unknown key is ignored.
    QJsonObject object = QJsonDocument::fromJson(json).object();
    object.insert(QStringLiteral("\x01unknown"), QJsonValue(QStringLiteral("x")));
    FUZZ_CHECK(JsonDecoder::decodeObject<T>(QJsonDocument(object).toJson()).ok(),
               QStringLiteral("an unknown key failed a record"));
}

template <typename T> void checkAnswer(const AnswerResult<T>& answer) {
    if (!answer.ok()) {
        FUZZ_CHECK(!answer.error().description.isEmpty(),
                   QStringLiteral("an unusable answer with no reason"));
    }
}

void checkAnswers(const QByteArray& body) {
    const AnswerResult<QString> command = CloudAnswer::command(body);
    checkAnswer(command);
    FUZZ_CHECK(!command.ok() || !command.value().isEmpty(), QStringLiteral("an empty command"));
    const AnswerResult<QStringList> list = CloudAnswer::commandList(body);
    checkAnswer(list);
    if (list.ok()) {
        for (const QString& entry : list.value())
            FUZZ_CHECK(!entry.isEmpty(), QStringLiteral("an empty command in a list"));
    }
    checkAnswer(CloudAnswer::headerCsv(body));
    checkAnswer(CloudAnswer::logCsv(body));
    const AnswerResult<QJsonObject> types = CloudAnswer::logTypes(body);
    checkAnswer(types);
    const bool parses = JsonDecoder::parse(body).ok();
    FUZZ_CHECK(parses || (command.error().unparsable && types.error().unparsable),
               QStringLiteral("a body that is not JSON is not reported as such"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ensureFuzzApplication();
    FuzzInput input(data, size);
    const int kind = input.number(0, 8);
    const QByteArray json = input.rest();
    switch (kind) {
    case 0:
        checkRecord<AuditHistoryElement>(json);
        break;
    case 1:
        checkRecord<StructEuaMessage>(json);
        break;
    case 2:
        checkRecord<Quiz>(json);
        break;
    case 3:
        checkRecord<QuizQuestion>(json);
        break;
    case 4:
        checkRecord<StructGetUserQuizTracker>(json);
        break;
    case 5:
        checkRecord<StructGetFromZubAppConfig>(json);
        break;
    case 6:
        checkRecord<StructQuizResult>(json);
        break;
    case 7:
        checkRecord<UserFirmwareInfo>(json);
        break;
    default:
        checkAnswers(json);
        break;
    }
    return 0;
}
