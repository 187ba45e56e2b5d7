#include "ui/scheme_view.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <utility>

namespace ui {

QString InstalledDataFolder() {
    if (!QCoreApplication::instance()) return {};
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + u'/' +
                           QStringLiteral(MORVANE1_DATA_FROM_BIN));
}

SchemeView::SchemeView(const QRect& geometry, QWidget* parent, QString dataFolder)
    : PictureBox(geometry, parent), dataFolder_(std::move(dataFolder)) {}

app::PictureFile SchemeView::SetBackgroundFromFile(const std::string& fileName) {
    refused_.clear();
    // The working folder by the bare name, as it is at this moment.
    const QString here = QDir::currentPath();
    lookedIn_ = QStringList{here.isEmpty() ? QStringLiteral(".") : here};
    app::PictureFile got = PictureBox::SetBackgroundFromFile(fileName);
    const bool bare = fileName.find('/') == std::string::npos;
    const QString data = QFileInfo(dataFolder_).canonicalFilePath();
    const bool sameFolder = !data.isEmpty() && data == QDir::current().canonicalPath();
    if (got == app::PictureFile::kMissing && bare && !dataFolder_.isEmpty() && !sameFolder) {
        lookedIn_ << dataFolder_;
        const QString path = dataFolder_ + u'/' + QString::fromStdString(fileName);
        got = PictureBox::SetBackgroundFromFile(QFile::encodeName(path).toStdString());
        if (got == app::PictureFile::kUnusable) refused_ = path;
    } else if (got == app::PictureFile::kUnusable) {
        refused_ = QDir(lookedIn_.front()).filePath(QString::fromStdString(fileName));
    }
    return got;
}

QString SchemeView::MessageText(app::Message message) const {
    QString shown = QCoreApplication::translate("app::Message", app::MessageText(message).data());
    const QString detail = message == app::Message::kSchemeMissing    ? lookedIn_.join(QStringLiteral("\r\n"))
                           : message == app::Message::kSchemeUnusable ? refused_
                                                                      : QString();
    if (!detail.isEmpty()) shown += QStringLiteral(":\r\n") + detail;
    return shown;
}

}  // namespace ui
