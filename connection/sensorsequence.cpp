#include "sensorsequence.h"

#include <QCoreApplication>
#include <QLocale>

namespace {

QStringList stepsWith(const SequenceOutcome_t& outcome, bool writes, StepResultE result, bool names) {
    QStringList found;
    for (const StepOutcome_t& step : outcome.steps) {
        if (step.writes == writes && step.result == result)
            found << (names ? step.name : step.label);
    }
    return found;
}

QString text(const char* source) {
    return QCoreApplication::translate("SensorSequence", source);
}

} // namespace

QStringList SequenceOutcome_t::writeSteps(StepResultE result, bool names) const {
    return stepsWith(*this, true, result, names);
}

QStringList SequenceOutcome_t::readSteps(StepResultE result, bool names) const {
    return stepsWith(*this, false, result, names);
}

QString writeOutcomeText(const SequenceOutcome_t& outcome) {
    const QString separator = QStringLiteral(", ");
    const auto listed = [&separator](const QStringList& steps) {
        return steps.isEmpty() ? text("ничего") : steps.join(separator);
    };
    QStringList lines{outcome.end == SequenceEndE::COMPLETE || outcome.end == SequenceEndE::REFUSED
                          ? text("Записано: %1.").arg(listed(outcome.writeSteps(StepResultE::DONE)))
                          : text("Запись прервана. Записано: %1.").arg(listed(outcome.writeSteps(StepResultE::DONE)))};
    if (const QStringList refused = outcome.writeSteps(StepResultE::REFUSED); !refused.isEmpty())
        lines << text("Датчик отказался принять: %1.").arg(refused.join(separator));
    // Sent, but the answer never came: the sensor may hold it or not.
    if (const QStringList unanswered = outcome.writeSteps(StepResultE::UNANSWERED); !unanswered.isEmpty())
        lines << text("Отправлено без подтверждения: %1.").arg(unanswered.join(separator));
    if (const QStringList notSent = outcome.writeSteps(StepResultE::NOT_SENT); !notSent.isEmpty())
        lines << text("Не записано: %1.").arg(notSent.join(separator));
    return lines.join(QLatin1Char('\n'));
}

QString failureText(const Failure_t& failure) {
    QString cause;
    switch (failure.kind) {
    case FailureE::NO_REPLY:
        cause = text("Датчик не ответил на запрос «%1» за %2 с.")
                    .arg(failure.stepLabel)
                    .arg(QLocale(QLocale::Russian).toString(failure.waitedMs / 1000.0));
        break;
    case FailureE::REFUSED:
        cause = text("Датчик отказался выполнить запрос «%1».").arg(failure.stepLabel);
        break;
    case FailureE::UNEXPECTED_REPLY:
        cause = text("На запрос «%1» датчик прислал неожиданный ответ «%2».").arg(failure.stepLabel, failure.reply);
        break;
    case FailureE::UNREADABLE_REPLY:
        cause = text("Ответ датчика на запрос «%1» не удалось прочитать.").arg(failure.stepLabel);
        break;
    }
    return cause + QLatin1Char('\n') +
           text("Отключите датчик от USB на несколько секунд, подключите его снова и нажмите «Подключить».");
}
