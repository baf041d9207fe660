#include "FgdFileModel.h"

#include "ImageBuffer.h"

namespace kvr {

FgdFileModel::FgdFileModel(ImageBuffer &buffer, QObject *parent)
    : QAbstractTableModel(parent), buffer_(buffer) {
  // The buffer announces its changes once a load or an edit is complete.
  connect(&buffer_, &ImageBuffer::layoutReset, this, [this] {
    beginResetModel();
    endResetModel();
  });
  connect(&buffer_, &ImageBuffer::rowsChanged, this, [this](int first, int last) {
    emit dataChanged(index(first, 0), index(last, ImageBuffer::kColumnCount - 1));
  });
}

int FgdFileModel::rowCount(const QModelIndex &parent) const {
  return parent.isValid() ? 0 : buffer_.rowCount();
}

int FgdFileModel::columnCount(const QModelIndex &parent) const {
  return parent.isValid() ? 0 : ImageBuffer::kColumnCount;
}

QVariant FgdFileModel::data(const QModelIndex &index, int role) const {
  if (!index.isValid())
    return QVariant();
  switch (role) {
  case Qt::DisplayRole: return buffer_.cellText(index.row(), index.column());
  case Qt::TextAlignmentRole: return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
  default: return QVariant();
  }
}

} // namespace kvr
