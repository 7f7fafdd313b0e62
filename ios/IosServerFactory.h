// The application's side of the select server: it hears of every connection
// accepted on a port, of data arriving on it, and of its end.
//
// Thread safety: the select server calls these on its own thread, one after
// another, never concurrently.
#ifndef VANTOR_IOS_IOSSERVERFACTORY_H_
#define VANTOR_IOS_IOSSERVERFACTORY_H_

class TaggedSocket;

class IosServerFactory {
 public:
  // s was just accepted and is in the wait set; the factory makes the
  // connection object and records it as the socket's user data.
  virtual void newConnection(TaggedSocket* s) = 0;
  // s is readable and has at least one pending byte. An Exception* thrown
  // here ends that connection (connectionClosed follows), nothing else.
  virtual void dataAvailable(TaggedSocket* s) = 0;
  // The connection on s has ended and s is out of the wait set; the factory
  // ends and deletes the connection object, which deletes s.
  virtual void connectionClosed(TaggedSocket* s) = 0;
  // The deadline set on s has passed and s is out of the wait set; the
  // connection ends as after connectionClosed.
  virtual void deadlinePassed(TaggedSocket* s) { connectionClosed(s); }

 protected:
  ~IosServerFactory() = default;
};

#endif  // VANTOR_IOS_IOSSERVERFACTORY_H_
