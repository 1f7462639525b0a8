// SPDX-License-Identifier: MIT
#include "desktop/host_messages.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <vector>

#include "desktop/host_names.h"
#include "desktop/host_text.h"
#include "workbench/model/messages.h"

namespace lunavant::desktop {

namespace {

// The host's messages as it composes them, %1 and %2 standing for the values it puts in. A value
// that names a field is marked by the field's place, so that its name is shown translated too.
struct HostMessage {
  const char* form;
  int field_argument;  // 1 or 2; 0 when none names a field
};

constexpr HostMessage kHostMessages[] = {
    {QT_TRANSLATE_NOOP("HostMessages", "Do you want to save the changes you made to \"%1\"?"), 0},
    {QT_TRANSLATE_NOOP("HostMessages", "The field %1 is calculated by the host and cannot be set."),
     1},
    {QT_TRANSLATE_NOOP(
         "HostMessages",
         "The field %1 of a summary task is calculated from its subtasks and cannot be set."),
     1},
    {QT_TRANSLATE_NOOP("HostMessages", "\"%1\" is not a date the field %2 can take."), 2},
    {QT_TRANSLATE_NOOP("HostMessages",
                       "\"%1\" is a time of day without a date; the field %2 needs a date."),
     2},
    {QT_TRANSLATE_NOOP("HostMessages",
                       "The date \"%1\" for the field %2 lies outside the range the host "
                       "accepts, 1 January 1984 to 31 December 2149."),
     2},
    {QT_TRANSLATE_NOOP("HostMessages", "The field %1 always holds a date; it cannot be NA."), 1},
    {QT_TRANSLATE_NOOP("HostMessages", "\"%1\" is not a number the field %2 can take."), 2},
    {QT_TRANSLATE_NOOP("HostMessages",
                       "\"%1\" is not a duration in whole days the field %2 can take."),
     2},
    {QT_TRANSLATE_NOOP("HostMessages", "\"%1\" is not Yes or No, which the field %2 takes."), 2},
    {QT_TRANSLATE_NOOP("HostMessages", "\"%1\" is not a constraint type."), 0},
    {QT_TRANSLATE_NOOP("HostMessages", "The finish \"%1\" lies before the task's start."), 0},
    {QT_TRANSLATE_NOOP("HostMessages",
                       "\"%1\" is not a list of links the field %2 can take, such as "
                       "\"3FS+2d;5SS\"."),
     2},
    {QT_TRANSLATE_NOOP("HostMessages",
                       "The field %1 names task %2, which the project does not have."),
     1},
    {QT_TRANSLATE_NOOP("HostMessages", "Task %1 cannot be linked to itself."), 0},
    {QT_TRANSLATE_NOOP("HostMessages",
                       "Task %1 is part of a circular chain of links and outline; the project was "
                       "not rescheduled."),
     0},
    {QT_TRANSLATE_NOOP("HostMessages",
                       "The schedule would end after 31 December 2149; the project was not "
                       "rescheduled."),
     0},
    {QT_TRANSLATE_NOOP("HostMessages", "The contents of the field %1 cannot be cleared."), 1},
    {QT_TRANSLATE_NOOP("HostMessages", "A working week needs at least one working day."), 0},
    {QT_TRANSLATE_NOOP("HostMessages", "A working day must start before it ends, within the day."),
     0},
    {QT_TRANSLATE_NOOP("HostMessages", "No project is open."), 0},
};

// The form as a pattern that matches the whole message and captures its values.
QRegularExpression patternOf(const char* form) {
  static const QRegularExpression kPlaceholder(QStringLiteral("%[12]"));
  const QString source = QString::fromUtf8(form);
  QString pattern;
  qsizetype literal_start = 0;
  for (QRegularExpressionMatchIterator it = kPlaceholder.globalMatch(source); it.hasNext();) {
    const QRegularExpressionMatch placeholder = it.next();
    pattern += QRegularExpression::escape(
        source.mid(literal_start, placeholder.capturedStart() - literal_start));
    pattern += QStringLiteral("(.*)");
    literal_start = placeholder.capturedEnd();
  }
  pattern += QRegularExpression::escape(source.mid(literal_start));
  return QRegularExpression(QRegularExpression::anchoredPattern(pattern),
                            QRegularExpression::DotMatchesEverythingOption);
}

struct CompiledMessage {
  HostMessage message;
  QRegularExpression pattern;
};

const std::vector<CompiledMessage>& compiledMessages() {
  static const std::vector<CompiledMessage> compiled = [] {
    std::vector<CompiledMessage> all;
    for (const HostMessage& message : kHostMessages) {
      all.push_back({message, patternOf(message.form)});
    }
    return all;
  }();
  return compiled;
}

}  // namespace

QString shownHostMessage(const std::string& message) {
  const QString text = fromHost(message);
  for (const CompiledMessage& known : compiledMessages()) {
    const QRegularExpressionMatch match = known.pattern.match(text);
    if (!match.hasMatch()) continue;
    QStringList values;
    for (int argument = 1; argument <= match.lastCapturedIndex(); ++argument) {
      const QString value = match.captured(argument);
      values << (argument == known.message.field_argument ? shownHostName(toHost(value)) : value);
    }
    // Both values put in at once, so that a typed "%2" stays as it was typed.
    const QString shown = QCoreApplication::translate("HostMessages", known.message.form);
    if (values.size() == 2) return shown.arg(values[0], values[1]);
    if (values.size() == 1) return shown.arg(values[0]);
    return shown;
  }
  return text;
}

QString shownMessageTitle(const std::string& title) {
  if (title == workbench::message::kWorkbenchTitle) {
    return QCoreApplication::translate("HostMessages", "Workbench");
  }
  return fromHost(title);
}

}  // namespace lunavant::desktop
