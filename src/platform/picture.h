// Pictures and image lists.
//
// A Picture is a cheap handle: either an element of an ImageList (drawn on
// first use and cached by the list) or a pixmap of its own. Copying a picture
// from one control to another copies the handle, so a test can still tell
// which image-list element a control shows.
#pragma once

#include <QImage>
#include <QPixmap>
#include <functional>
#include <vector>

namespace platform {

class ImageList;

class Picture {
 public:
  Picture() = default;
  Picture(const ImageList* list, int index) : list_(list), index_(index) {}
  explicit Picture(const QPixmap& pixmap) : pixmap_(pixmap) {}

  bool IsNull() const { return list_ == nullptr && pixmap_.isNull(); }
  // The image-list element this picture is, or 0 when it is none.
  int Index() const { return list_ ? index_ : 0; }
  const ImageList* List() const { return list_; }
  QPixmap Pixmap() const;

  bool operator==(const Picture& other) const {
    return list_ == other.list_ && index_ == other.index_ &&
           pixmap_.cacheKey() == other.pixmap_.cacheKey();
  }

 private:
  const ImageList* list_ = nullptr;
  int index_ = 0;
  QPixmap pixmap_;
};

class ListImage {
 public:
  explicit ListImage(platform::Picture picture) : picture_(picture) {}
  platform::Picture Picture() const { return picture_; }

 private:
  platform::Picture picture_;
};

// A numbered list of pictures, 1 to count, each drawn by the drawer the first
// time it is needed.
class ImageList {
 public:
  using Drawer = std::function<QImage(int index)>;
  ImageList(int count, Drawer drawer);

  int Count() const { return count_; }
  ListImage ListImages(int index) const { return ListImage(platform::Picture(this, index)); }
  QPixmap Pixmap(int index) const;

 private:
  int count_;
  Drawer drawer_;
  mutable std::vector<QPixmap> cache_;
};

}  // namespace platform
