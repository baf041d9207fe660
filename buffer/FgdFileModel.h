#pragma once

#include <QAbstractTableModel>

namespace kvr {

class ImageBuffer;

// The grid FgdFile as a table over the image: 18 columns (address, 16 bytes,
// text view), one row per 16 bytes, no heading row. It holds no cells of its
// own, so 4096 rows cost nothing until they are painted.
class FgdFileModel : public QAbstractTableModel {
  Q_OBJECT
public:
  explicit FgdFileModel(ImageBuffer &buffer, QObject *parent = nullptr);

  int rowCount(const QModelIndex &parent = QModelIndex()) const override;
  int columnCount(const QModelIndex &parent = QModelIndex()) const override;
  QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
  ImageBuffer &buffer_;
};

} // namespace kvr
