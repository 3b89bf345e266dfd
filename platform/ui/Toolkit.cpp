#include "platform/ui/Toolkit.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

void InstallChineseToolkitTexts(QCoreApplication& application) {
  auto* translator = new QTranslator(&application);
  if (translator->load(QStringLiteral("qtbase_zh_CN"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(translator);
  else
    delete translator;
}
