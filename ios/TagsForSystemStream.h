// What the select server needs to know about each stream in its wait set:
// whether it listens (kind 0) or carries a connection (kind 1), the
// listening port it belongs to, and the wait set it is registered in.
//
// Thread safety: set and read by the select server's thread.
#ifndef VANTOR_IOS_TAGSFORSYSTEMSTREAM_H_
#define VANTOR_IOS_TAGSFORSYSTEMSTREAM_H_

class IosListeningPort;
class IosSystemStreamSelect;

class TagsForSystemStream {
 public:
  static constexpr int kListening = 0;
  static constexpr int kConnection = 1;

  explicit TagsForSystemStream(int kind, IosListeningPort* port = nullptr)
      : kind_(kind), listeningPort_(port), select_(nullptr) {}

  virtual int kind() { return kind_; }
  virtual IosSystemStreamSelect* getSelect() { return select_; }
  virtual void setSelect(IosSystemStreamSelect* select) { select_ = select; }

  IosListeningPort* getListeningPort() const { return listeningPort_; }
  void setListeningPort(IosListeningPort* port) { listeningPort_ = port; }

 protected:
  ~TagsForSystemStream() = default;

 private:
  int kind_;
  IosListeningPort* listeningPort_;
  IosSystemStreamSelect* select_;
};

#endif  // VANTOR_IOS_TAGSFORSYSTEMSTREAM_H_
