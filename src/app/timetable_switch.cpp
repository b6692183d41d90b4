#include "app/timetable_switch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>

#include "app/UnitVormek.h"
#include "app/message_boxes.h"
#include "data/timetable_source.h"
#include "gui_text/load_error_text.h"
#include "services/log_categories.h"
#include "services/user_settings.h"

namespace vormek {

namespace {

const QString kCaption = QStringLiteral("打开时刻表");
constexpr int kTimetableLabelWidth = 100;

void PutInPlace(TFrmVormek& window, TTimetable tables, QLabel* label, const QString& name, const QString& hint) {
  window.UseTimetable(std::move(tables));
  qCInfo(lcLoad) << "timetable" << name << "in place, query buttons on";
  // A long folder name is cut in the middle so that the maker's panel keeps
  // its whole text; the tooltip has the full path.
  const QString text = QStringLiteral("时刻表:") + name;
  label->setText(label->fontMetrics().elidedText(text, Qt::ElideMiddle, kTimetableLabelWidth - 8));
  label->setToolTip(hint);
}

}  // namespace

QString FolderLoadFailure(const ETimetableSourceError& error) {
  if (error.Failures().size() == 1)
    return QStringLiteral("时刻表文件 %1 无法载入：%2")
        .arg(QFile::decodeName(error.File().c_str()), ChineseLoadReason(error.Reason()));
  return QStringLiteral("以下时刻表文件无法载入：\n") + ChineseFileFailures(error);
}

TTimetableSwitch::TTimetableSwitch(TFrmVormek& window, const TItemSet& builtIn, IMessageBoxes& boxes,
                                   std::filesystem::path cacheDir, TUserSettings* settings)
    : window_(window), builtIn_(builtIn), boxes_(boxes), cacheDir_(std::move(cacheDir)), settings_(settings) {
  LabTimetable = new QLabel(QStringLiteral("时刻表:内置"));
  LabTimetable->setObjectName(QStringLiteral("LabTimetable"));
  LabTimetable->setFrameShape(QFrame::Panel);
  LabTimetable->setFrameShadow(QFrame::Sunken);
  LabTimetable->setMaximumWidth(kTimetableLabelWidth);
  window.AddStatusPanel(LabTimetable);
}

bool TTimetableSwitch::OpenFolder(const QString& dir) {
  // A folder that is not there is named as such, not by its first file.
  if (!QFileInfo(dir).isDir()) {
    boxes_.Warn(&window_, QStringLiteral("时刻表文件夹 %1 不存在。\n仍使用当前时刻表。").arg(dir), kCaption);
    return false;
  }
  // The window holds a copy of a kept image of its own: it lives for hours,
  // and another program truncating the file must not crash it.
  std::string distrust;
  TTimetableLoad load = LoadTimetableFolder(std::filesystem::path(QFile::encodeName(dir).toStdString()), cacheDir_,
                                            nullptr, TImageHold::Copy, &distrust);
  if (!distrust.empty()) qCWarning(lcLoad).noquote() << QFile::decodeName(distrust.c_str());
  if (!load.Ok()) {
    boxes_.Warn(&window_, FolderLoadFailure(load.Error()) + QStringLiteral("\n仍使用当前时刻表。"), kCaption);
    return false;
  }
  PutInPlace(window_, std::move(load.Timetable()), LabTimetable, QDir(dir).dirName(), QDir::toNativeSeparators(dir));
  if (settings_) settings_->SetLastFolder(QFileInfo(dir).absoluteFilePath());
  return true;
}

bool TTimetableSwitch::ReopenLastFolder() {
  const QString dir = settings_ ? settings_->LastFolder() : QString();
  if (dir.isEmpty()) return false;
  const QString name = QDir::toNativeSeparators(dir);
  QString why;
  if (!QFileInfo(dir).isDir()) {
    why = QStringLiteral("时刻表文件夹 %1 不存在。").arg(name);
  } else {
    TTimetableLoad load = LoadTimetableFolder(std::filesystem::path(QFile::encodeName(dir).toStdString()), cacheDir_);
    if (load.Ok()) {
      PutInPlace(window_, std::move(load.Timetable()), LabTimetable, QDir(dir).dirName(), name);
      window_.ShowStatusNote(QStringLiteral("已打开上次的时刻表：%1").arg(QDir(dir).dirName()), name);
      return true;
    }
    why = FolderLoadFailure(load.Error());
  }
  qCInfo(lcLoad) << "last timetable" << dir << "not opened, built-in in use";
  window_.ShowStatusNote(QStringLiteral("上次的时刻表 %1 无法打开，现用内置时刻表").arg(QDir(dir).dirName()), why);
  return false;
}

bool TTimetableSwitch::RestoreBuiltIn() {
  TTimetableLoad load = LoadBuiltInTimetable(builtIn_);
  if (!load.Ok()) {
    boxes_.Warn(&window_, QStringLiteral("内置时刻表无法载入：\n%1").arg(ChineseFileFailures(load.Error())), kCaption);
    return false;
  }
  PutInPlace(window_, std::move(load.Timetable()), LabTimetable, QStringLiteral("内置"), QString());
  if (settings_) settings_->ForgetLastFolder();
  return true;
}

}  // namespace vormek
