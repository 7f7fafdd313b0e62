// A growable array of untyped pointers, the list type of the whole system.
// It never owns the objects it points to. Growth is linear, 10 slots at a
// time: the lists are small (players, games, sockets of one server).
//
// Thread safety: none; a vector shared between threads is guarded by its
// owner's lock.
#ifndef VANTOR_IOS_IOSVECTOR_H_
#define VANTOR_IOS_IOSVECTOR_H_

class IosVector {
 public:
  IosVector();
  explicit IosVector(int capacity);
  ~IosVector();
  IosVector(const IosVector&) = delete;
  IosVector& operator=(const IosVector&) = delete;

  void add(void* element);
  void* get(int index) const;  // throws Exception("Vector index out of bounds")
  void removeAt(int index);    // throws Exception("Vector index out of bounds")
  // Removes every element equal to element, keeping the order of the rest.
  void remove(void* element);
  void clear() { size_ = 0; }
  int size() const { return size_; }
  int capacity() const { return capacity_; }
  // Debug print to standard error.
  void dump() const;

 private:
  void** data_;
  int capacity_;
  int size_;
};

#endif  // VANTOR_IOS_IOSVECTOR_H_
