// The quiz's side of the simulated cloud: the answer tracker, which remembers the answers it
// is sent, and the submission, graded against the sample quiz's correct choices. The sample
// quiz itself is put under "Quiz" in the application's standard settings of the run's own
// settings folder, where the quiz screen reads it; never into the user's own settings, where it
// would replace a real quiz.
#include "SimExtensions.h"

#include "core/AppConstants.h"
#include "core/Console.h"
#include "doubles/QuizCloudDouble.h"
#include "platform/PrivateFolder.h"

#include <QFile>
#include <QSettings>

#include <memory>

namespace {

// The application's standard settings scope (organisation and application names of the app),
// under the run's settings folder.
void seedSampleQuiz(const QString& configHome) {
    if (configHome.isEmpty()) {
        Console::print(QStringLiteral("quiz: no sample quiz stored (no --config-home given)"));
        return;
    }
    // The folder is the application's own, and as private as the application makes it.
    PrivateFolder::make(configHome + QStringLiteral("/Ostrivane"), configHome);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configHome);
    QSettings standard(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Ostrivane"),
                       QStringLiteral("Pellory"));
    standard.setValue(AppConstants::userdefaultKeys::quiz, QuizCloudDouble::sampleQuizJson());
    standard.sync();
    QFile::setPermissions(standard.fileName(), QFile::ReadOwner | QFile::WriteOwner);
    Console::print(QStringLiteral("quiz: sample quiz %1 stored under \"%2\" in %3")
                       .arg(QuizCloudDouble::sampleQuizID)
                       .arg(AppConstants::userdefaultKeys::quiz, standard.fileName()));
}

const bool registered = registerSimExtension(QStringLiteral("quiz"), [](SimContext& sim) {
    static std::unique_ptr<QuizCloudDouble> quiz;
    quiz = std::make_unique<QuizCloudDouble>(sim.cloud);
    quiz->setCorrectChoices(QuizCloudDouble::sampleCorrectChoices());
    seedSampleQuiz(sim.configHome);
});

} // namespace
