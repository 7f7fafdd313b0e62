#include "ios/IosVector.h"

#include <cstdio>
#include <cstdlib>

#include "ios/Exception.h"

IosVector::IosVector() : IosVector(10) {}

IosVector::IosVector(int capacity)
    : data_(static_cast<void**>(std::malloc(sizeof(void*) * (capacity > 0 ? capacity : 1)))),
      capacity_(capacity),
      size_(0) {}

IosVector::~IosVector() {
  std::free(data_);
}

void IosVector::add(void* element) {
  if (size_ >= capacity_) {
    data_ = static_cast<void**>(std::realloc(data_, sizeof(void*) * (size_ + 10)));
    capacity_ += 10;
  }
  data_[size_++] = element;
}

void* IosVector::get(int index) const {
  if (index < 0 || index >= size_) throw new Exception("Vector index out of bounds");
  return data_[index];
}

void IosVector::removeAt(int index) {
  if (index < 0 || index >= size_) throw new Exception("Vector index out of bounds");
  --size_;
  for (int i = index; i < size_; ++i) data_[i] = data_[i + 1];
}

void IosVector::remove(void* element) {
  int i = 0;
  while (i < size_) {
    if (data_[i] == element) {
      removeAt(i);
    } else {
      ++i;
    }
  }
}

void IosVector::dump() const {
  std::fprintf(stderr, "Size: %d\n", size_);
  for (int i = 0; i < size_; ++i) std::fprintf(stderr, "elt[%d]=%p ", i, data_[i]);
  std::fprintf(stderr, "\n");
}
