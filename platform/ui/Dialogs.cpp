#include "platform/ui/Dialogs.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include "platform/ui/QtBridge.h"

namespace {

std::function<bool(TOpenPictureDialog&)>& OpenHandler() {
  static std::function<bool(TOpenPictureDialog&)> handler;
  return handler;
}

std::function<bool(std::string&)>& DirectoryHandler() {
  static std::function<bool(std::string&)> handler;
  return handler;
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (true) {
    size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

// Qt's form of a choice: the patterns in the last parentheses select files.
QStringList QtFilters(const std::vector<TFilterChoice>& choices) {
  QStringList filters;
  for (const TFilterChoice& choice : choices) {
    QStringList patterns;
    for (const std::string& pattern : choice.Patterns) patterns << QString::fromStdString(pattern);
    filters << QString::fromStdString(choice.Description) + " (" + patterns.join(' ') + ")";
  }
  return filters;
}

// A preview of the picture under the cursor, beside the file list.
void AddPreview(QFileDialog& dialog) {
  auto* layout = qobject_cast<QGridLayout*>(dialog.layout());
  if (!layout) return;
  auto* preview = new QLabel(&dialog);
  preview->setFixedSize(200, 200);
  preview->setAlignment(Qt::AlignCenter);
  preview->setFrameShape(QFrame::StyledPanel);
  layout->addWidget(preview, 1, layout->columnCount(), layout->rowCount() - 1, 1);
  QObject::connect(&dialog, &QFileDialog::currentChanged, preview, [preview](const QString& path) {
    QImageReader reader(path);
    reader.setAutoTransform(true);
    QImage image = reader.read();
    preview->setPixmap(image.isNull()
                           ? QPixmap()
                           : QPixmap::fromImage(image.scaled(preview->size(), Qt::KeepAspectRatio,
                                                             Qt::SmoothTransformation)));
  });
}

// Return opens the path typed into the name field when it names an existing
// file (or folder, in the folder chooser), whether or not the completion list
// is showing: the typed path decides, not what the completion list or the file
// list happen to hold at that moment.
class TTypedPathAccept final : public QObject {
 public:
  TTypedPathAccept(QFileDialog& dialog, bool folders, QString& chosen)
      : FDialog(dialog), FFolders(folders), FChosen(chosen) {
    FName = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (!FName) return;
    FName->installEventFilter(this);
    // Installed after the completer's own filter, so this one sees the key first.
    if (QCompleter* completer = FName->completer()) completer->popup()->installEventFilter(this);
  }

  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
    const QString text = FName->text().trimmed();
    if (text.isEmpty()) return false;
    const QFileInfo typed(QDir(FDialog.directory()).absoluteFilePath(text));
    // Anything else (a folder to open, a pattern, a name that does not exist)
    // is the chooser's own business.
    if (FFolders ? !typed.isDir() : !typed.isFile()) return false;
    if (QCompleter* completer = FName->completer()) completer->popup()->hide();
    FChosen = typed.absoluteFilePath();
    static_cast<QDialog&>(FDialog).done(QDialog::Accepted);
    return true;
  }

 private:
  QFileDialog& FDialog;
  bool FFolders;
  QString& FChosen;
  QLineEdit* FName = nullptr;
};

// Runs a chooser; the chosen path, or nothing when it was cancelled.
QString RunChooser(QFileDialog& dialog, bool folders) {
  QString typed;
  TTypedPathAccept acceptTyped(dialog, folders, typed);
  const bool accepted = dialog.exec() == QDialog::Accepted;
  ReactivateMainForm();
  if (!accepted) return {};
  if (!typed.isEmpty()) return typed;
  return dialog.selectedFiles().isEmpty() ? QString() : dialog.selectedFiles().first();
}

}  // namespace

std::vector<TFilterChoice> ParseFilter(const std::string& filter) {
  std::vector<TFilterChoice> choices;
  if (filter.empty()) return choices;
  std::vector<std::string> parts = Split(filter, '|');
  for (size_t i = 0; i + 1 < parts.size(); i += 2)
    choices.push_back({parts[i], Split(parts[i + 1], ';')});
  return choices;
}

bool TOpenPictureDialog::Execute() {
  if (OpenHandler()) return OpenHandler()(*this);
  EnsureQtApplication();
  QFileDialog dialog(MainFormWidget(), QString::fromStdString(FTitle));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setFileMode(QFileDialog::ExistingFile);
  QStringList filters = QtFilters(ParseFilter(FFilter));
  dialog.setNameFilters(filters);
  if (FFilterIndex >= 1 && FFilterIndex <= filters.size())
    dialog.selectNameFilter(filters[FFilterIndex - 1]);
  if (!FFileName.empty()) dialog.selectFile(QString::fromStdString(FFileName));
  AddPreview(dialog);
  const QString chosen = RunChooser(dialog, false);
  if (chosen.isEmpty()) return false;
  FFileName = chosen.toStdString();
  return true;
}

void SetOpenDialogHandler(std::function<bool(TOpenPictureDialog&)> handler) {
  OpenHandler() = std::move(handler);
}

bool SelectDirectory(const std::string& caption, const std::string& root, std::string& directory) {
  if (DirectoryHandler()) return DirectoryHandler()(directory);
  EnsureQtApplication();
  QFileDialog dialog(MainFormWidget(), QString(),
                     QString::fromStdString(root.empty() ? "/" : root));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  dialog.setFileMode(QFileDialog::Directory);
  // After the mode, which would put back Qt's own title. An empty title would show
  // the application's name instead; a blank shows no text.
  dialog.setWindowTitle(caption.empty() ? QStringLiteral(" ") : QString::fromStdString(caption));
  const QString chosen = RunChooser(dialog, true);
  if (chosen.isEmpty()) return false;
  directory = chosen.toStdString();
  while (directory.size() > 1 && directory.back() == '/') directory.pop_back();
  return true;
}

void SetSelectDirectoryHandler(std::function<bool(std::string&)> handler) {
  DirectoryHandler() = std::move(handler);
}
