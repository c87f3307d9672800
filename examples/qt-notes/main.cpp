// qt-notes: a desktop window over a SQLite notes database whose text,
// pictures and formatted notes are stored compressed.
//
//   qt-notes [DATABASE]                    (default: notes.db)
//   qt-notes DATABASE --screenshot FILE    shows the window, saves it as a PNG
//                                          and prints where the widgets are
#include "NotesWindow.h"

#include "framework/controls/Dialogs.h"
#include "qtcontrols/QtCDBImage.h"
#include "qtcontrols/QtCDBMemo.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <exception>

namespace {

// Prints Widget's rectangle in Window's coordinates: NAME X Y WIDTH HEIGHT.
void PrintPlace(const char* Name, const QWidget& Widget, const QWidget& Window) {
    const QPoint at = Widget.mapTo(&Window, QPoint(0, 0));
    std::printf("%s %d %d %d %d\n", Name, at.x(), at.y(), Widget.width(), Widget.height());
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const char* database = argc > 1 ? argv[1] : "notes.db";
    const char* screenshot =
        argc > 3 && std::strcmp(argv[2], "--screenshot") == 0 ? argv[3] : nullptr;
    if (screenshot == nullptr)
        zorp::fw::SetShowMessageHandler([](const std::string& Msg) {
            QMessageBox::warning(nullptr, "qt-notes", QString::fromStdString(Msg));
        });
    try {
        TNotesWindow window(database);
        window.show();
        if (screenshot != nullptr) {
            QTimer::singleShot(500, &window, [&] {
                if (!window.grab().save(screenshot)) {
                    std::fprintf(stderr, "qt-notes: cannot write %s\n", screenshot);
                    app.exit(1);
                    return;
                }
                PrintPlace("memo", *window.Memo().viewport(), window);
                PrintPlace("image", window.Image(), window);
                std::printf("status %s\n", window.Status().toStdString().c_str());
                app.exit(0);
            });
        }
        return app.exec();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qt-notes: %s\n", e.what());
        return 1;
    }
}
