#pragma once

#include <string>
#include <string_view>

class QLineEdit;
class QListWidgetItem;
class QString;

namespace statvane {

// The text typed into a one-line field as UTF-8, each line break in it
// (pasted) as a blank, as the files and mail headers these texts go to hold
// one value per line.
std::string typedText(const QString& text);

// Edit fields and list entries that show bytes read from a file. They keep
// the bytes as read (shown through displayText) and give them back
// unchanged until the user changes the text; a text the user typed or
// changed is given back as typedText gives it.
void setLoadedText(QLineEdit& field, std::string_view bytes);
std::string textBytes(const QLineEdit& field);

void setLoadedText(QListWidgetItem& item, std::string_view bytes);
std::string textBytes(const QListWidgetItem& item);

} // namespace statvane
