#pragma once

#include <QAbstractListModel>
#include <string>
#include <vector>

namespace statvane {

// The visitors list of the results window over the result's own list: one
// line per visitor, in the list's own order, so that the window shows what
// the text report writes. A host name found for an address stands at the
// address's place, without re-sorting, also when it is resolved later here.
class VisitorListModel : public QAbstractListModel {
    Q_OBJECT
  public:
    using QAbstractListModel::QAbstractListModel;

    void setVisitors(std::vector<std::string>* visitors);
    // Empties the list itself.
    void clear();
    void replace(int row, std::string line);
    // The line's stored bytes.
    const std::string& line(int row) const { return (*lines_)[static_cast<std::size_t>(row)]; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

  private:
    std::vector<std::string>* lines_ = nullptr;
};

} // namespace statvane
