#include "report/ReportUserSettings.h"

#include <QSettings>
#include <QString>

#include "korvan_version.h"

namespace korvan {

UserIdentification ReadReportUser() {
  // The main window's settings: its organisation, application and group,
  // and the names of its values.
  QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Dravik"),
                     QStringLiteral("KORVAN"));
  settings.beginGroup(QLatin1String(kVersionText));
  UserIdentification user;
  auto text = [&settings](const char* name, const std::string& fallback) {
    return settings.value(QLatin1String(name), QString::fromStdString(fallback))
        .toString()
        .toStdString();
  };
  user.organisation = text("Organisation", user.organisation);
  user.city = text("City", user.city);
  user.region = text("Region", user.region);
  user.idNumber = settings.value(QStringLiteral("Id Number"), static_cast<qlonglong>(user.idNumber))
                      .toLongLong();
  return user;
}

}  // namespace korvan
