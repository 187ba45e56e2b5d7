// The construction view, which "схема" also fills with the force scheme:
// the picture is looked for in the working folder at the moment of the
// press, as always, then in the folder the package installs it in, so an
// installed program shows it wherever it was started.
#pragma once

#include <QString>
#include <QStringList>

#include <string>

#include "app/messages.h"
#include "ui/picture_box.h"

namespace ui {

// The installed data folder, found from the program's own folder by the
// path from the binary folder to the data folder that the build knows: the
// same build then works under any install prefix (CPack installs under
// /usr whatever prefix was configured). Empty without a QCoreApplication.
QString InstalledDataFolder();

class SchemeView : public PictureBox {
public:
    SchemeView(const QRect& geometry, QWidget* parent = nullptr, QString dataFolder = InstalledDataFolder());

    // A bare name is read in the working folder, then in the data folder;
    // the first that has anything by that name decides, so a file there that
    // cannot be shown is reported, not passed over. Each is read by the
    // surface's own rules for a picture file.
    app::PictureFile SetBackgroundFromFile(const std::string& fileName) override;

    // The text of a message, and for a failed "схема" where it looked: the
    // folders, or the file that could not be read as a picture.
    QString MessageText(app::Message message) const;

private:
    QString dataFolder_;
    QStringList lookedIn_;  // folders of the last lookup, in order
    QString refused_;       // the file the last lookup found and could not show
};

}  // namespace ui
