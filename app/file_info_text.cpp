#include "app/file_info_text.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>

#include "lang/catalogue.h"

namespace vmx {

QString FileInfoText(const QString& path) {
  const QFileInfo info(path);
  if (!info.exists()) return {};
  return path + ' ' + QLocale::system().toString(info.lastModified(), QLocale::ShortFormat) + ' ' +
         QString::number(info.size()) + ' ' + QString::fromStdString(LangText("Bytes"));
}

}  // namespace vmx
