#include "platform/picture.h"

namespace platform {

QPixmap Picture::Pixmap() const { return list_ ? list_->Pixmap(index_) : pixmap_; }

ImageList::ImageList(int count, Drawer drawer)
    : count_(count), drawer_(std::move(drawer)), cache_(static_cast<size_t>(count) + 1) {}

QPixmap ImageList::Pixmap(int index) const {
  if (index < 1 || index > count_) return QPixmap();
  QPixmap& cached = cache_[static_cast<size_t>(index)];
  if (cached.isNull()) cached = QPixmap::fromImage(drawer_(index));
  return cached;
}

}  // namespace platform
