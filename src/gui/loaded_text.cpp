#include "gui/loaded_text.h"

#include "gui/display_text.h"
#include "platform/one_line_text.h"

#include <QLineEdit>
#include <QListWidgetItem>

namespace statvane {
namespace {

constexpr const char* kLoadedBytes = "loadedBytes";
constexpr int kLoadedBytesRole = Qt::UserRole;

QByteArray bytesOf(std::string_view bytes) {
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// The bytes as loaded while the text still shows them, else the text.
std::string unlessChanged(const QByteArray& loaded, const QString& text) {
    if (text == displayText(std::string_view(loaded.constData(), loaded.size())))
        return loaded.toStdString();
    return typedText(text);
}

} // namespace

std::string typedText(const QString& text) {
    return oneLineText(text.toStdString());
}

void setLoadedText(QLineEdit& field, std::string_view bytes) {
    field.setProperty(kLoadedBytes, bytesOf(bytes));
    field.setText(displayText(bytes));
}

std::string textBytes(const QLineEdit& field) {
    return unlessChanged(field.property(kLoadedBytes).toByteArray(), field.text());
}

void setLoadedText(QListWidgetItem& item, std::string_view bytes) {
    item.setData(kLoadedBytesRole, bytesOf(bytes));
    item.setText(displayText(bytes));
}

std::string textBytes(const QListWidgetItem& item) {
    return unlessChanged(item.data(kLoadedBytesRole).toByteArray(), item.text());
}

} // namespace statvane
