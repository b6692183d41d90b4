#pragma once
// The version check's decision: which caption the version label gets from the
// body of the published version file.
#include <QByteArray>
#include <QString>
#include <optional>

namespace vormek {

// The project's version, spelled once in the top CMakeLists.txt.
inline constexpr char kBuiltInVersion[] = VORMEK_VERSION;
inline constexpr char kVersionFilePath[] = "/zirevizuz.iza";
// The reply is read up to this many bytes; a longer one is abandoned.
inline constexpr qint64 kMaxVersionReplyBytes = 256;

QString VersionCheckingCaption();                     // "版本检测中..."
QString VersionUpToDateCaption();                     // "当前已是最新版本，无需升级。"
QString VersionNoNetworkCaption();                    // "网络未连通，无法获取最新版本信息。"
QString VersionNewCaption(const QString& published);  // "发现新版本:<v>，请及时升级。"

// A version and nothing else: digits and dots, at most 16 of them. Anything
// else a server sends (markup, control bytes, a page) is no version.
bool IsVersionShaped(const QByteArray& body);

enum class TVersionOutcome {
  Unreachable,  // the network probe failed; no request was made
  NoVersion,    // the request failed or gave no usable version text
  UpToDate,
  NewVersion,
};

// nullopt when the fetch failed. The body counts only when it is version
// shaped and exactly ten bytes; equality with the built-in version says "up
// to date", any other such text announces a new version.
TVersionOutcome VersionOutcome(const std::optional<QByteArray>& body);

// The caption for the outcome of `body`.
QString VersionCaption(const std::optional<QByteArray>& body);

}  // namespace vormek
