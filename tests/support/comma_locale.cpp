#include "support/comma_locale.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <clocale>
#include <cstring>

namespace korvan::testing {

namespace {

const char* const kCompiledName = "de_DE.UTF-8";

bool TrySet(const char* name) {
  if (std::setlocale(LC_NUMERIC, name) == nullptr) return false;
  if (std::strcmp(std::localeconv()->decimal_point, ",") == 0) return true;
  std::setlocale(LC_NUMERIC, "C");
  return false;
}

// Compiles the locale once per user into the temporary folder; concurrent
// test processes each build their own copy and the first rename wins.
QString CompiledLocaleFolder() {
  const QString cache = QDir::tempPath() + QStringLiteral("/korvan-test-locales");
  const QString target = cache + QLatin1Char('/') + QLatin1String(kCompiledName);
  if (QFileInfo::exists(target + QStringLiteral("/LC_NUMERIC"))) return cache;
  QDir().mkpath(cache);
  QTemporaryDir work(cache + QStringLiteral("/build-XXXXXX"));
  if (!work.isValid()) return {};
  const QString built = work.path() + QLatin1Char('/') + QLatin1String(kCompiledName);
  QProcess localedef;
  localedef.start(QStringLiteral("localedef"),
                  {QStringLiteral("-i"), QStringLiteral("de_DE"), QStringLiteral("-f"),
                   QStringLiteral("UTF-8"), built});
  if (!localedef.waitForFinished(120000)) return {};
  if (!QFileInfo::exists(built + QStringLiteral("/LC_NUMERIC"))) return {};
  QDir().rename(built, target);
  return QFileInfo::exists(target + QStringLiteral("/LC_NUMERIC")) ? cache : QString();
}

}  // namespace

TCommaLocale::TCommaLocale() {
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8",
                           "nl_NL.UTF-8", "ru_RU.UTF-8"}) {
    if (TrySet(name)) {
      fActive = true;
      return;
    }
  }
  const QString folder = CompiledLocaleFolder();
  if (folder.isEmpty()) return;
  qputenv("LOCPATH", QFile::encodeName(folder));
  fActive = TrySet(kCompiledName);
}

TCommaLocale::~TCommaLocale() {
  std::setlocale(LC_NUMERIC, "C");
}

}  // namespace korvan::testing
