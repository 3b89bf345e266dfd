#include "platform/ui/Toolkit.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

struct TToolkitArguments {
  std::vector<std::string> Texts{"loupix"};
  std::vector<char*> Values;
  int Count = 0;

  TToolkitArguments() { Point(); }
  // argv as C expects it: one pointer per text, then a null pointer.
  void Point() {
    Values.clear();
    for (std::string& text : Texts) Values.push_back(text.data());
    Values.push_back(nullptr);
    Count = static_cast<int>(Texts.size());
  }
};

TToolkitArguments& Arguments() {
  static TToolkitArguments arguments;
  return arguments;
}

}  // namespace

void SetToolkitArguments(const std::vector<std::string>& arguments) {
  if (QCoreApplication::instance() || arguments.empty()) return;
  Arguments().Texts = arguments;
  Arguments().Point();
}

int& ToolkitArgumentCount() { return Arguments().Count; }

char** ToolkitArgumentValues() { return Arguments().Values.data(); }

void InstallChineseToolkitTexts(QCoreApplication& application) {
  auto* translator = new QTranslator(&application);
  if (translator->load(QStringLiteral("qtbase_zh_CN"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(translator);
  else
    delete translator;
}
