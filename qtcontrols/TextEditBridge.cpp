#include "qtcontrols/TextEditBridge.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QWidget>

namespace zorp::qt {

QString ToQtText(const std::string& Text) {
    std::string lines;
    lines.reserve(Text.size());
    for (size_t i = 0; i < Text.size(); ++i) {
        if (Text[i] != '\r') {
            lines += Text[i];
        } else if (i + 1 < Text.size() && Text[i + 1] == '\n') {
            continue; // the line feed follows
        } else {
            lines += '\n';
        }
    }
    return QString::fromUtf8(lines.data(), static_cast<qsizetype>(lines.size()));
}

std::string FromQtText(const QString& Text) {
    const QByteArray utf8 = Text.toUtf8();
    std::string text;
    text.reserve(static_cast<size_t>(utf8.size()));
    for (const char c : utf8) {
        if (c == '\n')
            text += '\r';
        text += c;
    }
    return text;
}

TTextEditBridge::TTextEditBridge(QWidget& Widget, TControlHost& Host, fw::TWinControl& Control,
                                 TDBMemoState& State, TKeyHandlers Keys)
    : FWidget(Widget), FHost(Host), FControl(Control), FState(State), FKeys(std::move(Keys)) {}

bool TTextEditBridge::KeyPress(const QKeyEvent& Event) {
    TStrokeResult result;
    if (!RunReported([&] { result = RunStroke(TranslateKey(Event), FKeys); }))
        return false;
    // Escape has reset the value; the edit has nothing more to do with it.
    return !result.Swallowed && result.Char != 27;
}

bool TTextEditBridge::DoubleClick() {
    bool loaded = false;
    RunReported([&] { loaded = FState.DblClickLoads(); });
    return loaded;
}

void TTextEditBridge::PrepareContextMenu(QMenu& Menu, bool HasSelection,
                                         const std::function<void()>& Cut,
                                         const std::function<void()>& Paste) {
    for (QAction* action : Menu.actions()) {
        const QString name = action->objectName();
        const bool cut = name == QLatin1String("edit-cut");
        if (!cut && name != QLatin1String("edit-paste"))
            continue;
        const QMimeData* data = QApplication::clipboard()->mimeData();
        action->disconnect();
        action->setEnabled(FState.MemoLoaded() &&
                           (cut ? HasSelection : data != nullptr && data->hasText()));
        const std::function<void()> operation = cut ? Cut : Paste;
        QObject::connect(action, &QAction::triggered, &FWidget, [this, operation] {
            if (RunReported([this] { FState.BeforeClipboardEdit(); }))
                operation();
        });
    }
}

} // namespace zorp::qt
