#pragma once
// The about box: the logo, the version, the maker's address as a link and
// the maker's name, and a note on what the built-in timetable is.
#include <QDialog>
#include <QPixmap>
#include <QString>

#include "app/web_links.h"

class QLabel;

namespace vormek {

class TClickLabel;

inline const QString kBuiltInTimetableNote =
    QStringLiteral("内置时刻表是依据公开资料手工编写的2012年春季全国铁路模型，仅供示意，并非官方时刻表。");

class TFrmAbout : public QDialog {
  Q_OBJECT

 public:
  static constexpr int ClientWidth = 361;
  static constexpr int ClientHeight = 212;

  explicit TFrmAbout(UrlOpener opener, QWidget* parent = nullptr);

  // MAboutClick: a new box with the main window's logo and the version,
  // shown modally and destroyed when closed.
  static void MAboutClick(QWidget* owner, const QPixmap& logo, UrlOpener opener);
  // The same steps without the modal loop; the caller shows it.
  void Prepare(const QPixmap& logo);

  QLabel* ImageLogo = nullptr;
  QLabel* LabVer = nullptr;
  TClickLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* LabData = nullptr;  // the built-in timetable is a model, not an official one

 private:
  UrlOpener opener_;
};

}  // namespace vormek
