#pragma once

#include <QIcon>
#include <QPixmap>
#include <QRectF>
#include <QSize>

class QPainter;

// Every picture of the program, drawn in code: the button and toolbar icons, the program icon,
// the wallpapers of the frame, the login and the settings pages, and the login picture. They
// are the program's own images, so nothing is loaded from files and every size is sharp.
//
// Call only when the application object exists (pixmaps and icons need it).
class Images
{
public:
    enum Icon {
        Ok,          // "ok.gif": accept, save, start
        Storno,      // "storno.gif": cancel, close
        New,         // "new.gif": insert a record
        Edit,        // "edit.gif": change a record
        Delete,      // "delete.gif": delete a record
        Tag,         // "Tag.ico": a tagged row of the room access log
        Untag,       // "Untag.ico": an untagged row
        Attendance,  // toolbar "Docházka"
        Log,         // toolbar "Log záznamy"
        Access,      // toolbar "Přístupy"
        Program,     // the program's own icon (frame, windows)
        Database,    // the wait window while the tables open
    };

    // An icon that paints itself at whatever size it is asked for; disabled it is greyed.
    static QIcon icon(Icon id);
    static QPixmap pixmap(Icon id, int size);
    // Paints the icon into `rect` (square or not: it keeps its proportions, centred).
    static void paintIcon(QPainter &painter, Icon id, const QRectF &rect);

    // The frame's wallpaper ("back.gif"): drawn for the size of the frame's window area.
    static QPixmap frameWallpaper(const QSize &size);
    // The login's wallpaper ("back_blue.jpg") and its picture ("login.jpg").
    static QPixmap loginWallpaper(const QSize &size);
    static QPixmap loginPicture(const QSize &size);
    // The background of the settings pages ("back_set2.jpg").
    static QPixmap settingsBackground(const QSize &size);
};
