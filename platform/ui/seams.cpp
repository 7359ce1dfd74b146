#include "platform/ui/seams.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>
#include <mutex>

#include "platform/ui/owner_window.h"
#include "platform/ui/ui_thread.h"
#include "resources/string_table.h"

namespace platform::ui {
namespace {

struct Seams {
    std::mutex lock;
    MessageBoxHandler messageBox;
    UrlHandler url;
    FileDialogHandler fileDialog;
};

Seams& TheSeams() {
    static Seams seams;
    return seams;
}

template <typename Handler>
Handler Current(Handler Seams::*member) {
    Seams& seams = TheSeams();
    std::lock_guard guard(seams.lock);
    return seams.*member;
}

template <typename Handler>
void Replace(Handler Seams::*member, Handler handler) {
    Seams& seams = TheSeams();
    std::lock_guard guard(seams.lock);
    seams.*member = std::move(handler);
}

QString AppTitle() { return QString::fromUtf8(resources::LoadString(resources::kAppTitle).value_or("").data()); }

}  // namespace

int MessageBox(const QString& text, const QString& caption) {
    const QString title = caption.isEmpty() ? AppTitle() : caption;
    if (const auto handler = Current(&Seams::messageBox)) return handler(text, title);
    return CallOnUiThread([&] {
        QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, OwnerWindow());
        // The text may come from a converter, a file or a console reply: never read it as markup.
        box.setTextFormat(Qt::PlainText);
        box.exec();
        return kIdOk;
    });
}

void OpenUrl(const QString& url) {
    if (const auto handler = Current(&Seams::url)) return handler(url);
    CallOnUiThread([&] { QDesktopServices::openUrl(QUrl(url)); });
}

std::optional<QString> AskForFile(FileDialogKind kind, const QString& defaultName, const QString& filter) {
    if (const auto handler = Current(&Seams::fileDialog)) return handler(kind, defaultName, filter);
    return CallOnUiThread([&]() -> std::optional<QString> {
        const QString path = kind == FileDialogKind::Save
                                 ? QFileDialog::getSaveFileName(OwnerWindow(), {}, defaultName, filter)
                                 : QFileDialog::getOpenFileName(OwnerWindow(), {}, defaultName, filter);
        if (path.isEmpty()) return std::nullopt;
        return path;
    });
}

void SetMessageBoxHandler(MessageBoxHandler handler) { Replace(&Seams::messageBox, std::move(handler)); }
void SetUrlHandler(UrlHandler handler) { Replace(&Seams::url, std::move(handler)); }
void SetFileDialogHandler(FileDialogHandler handler) { Replace(&Seams::fileDialog, std::move(handler)); }

void ResetSeams() {
    SetMessageBoxHandler({});
    SetUrlHandler({});
    SetFileDialogHandler({});
}

}  // namespace platform::ui
