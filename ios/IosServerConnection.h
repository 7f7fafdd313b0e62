// The base of the application's connection objects: it owns the accepted
// socket and keeps its two streams at hand. The hooks are called by the
// factory (IosServerStandardFactory) on the select server's thread, never by
// this class's constructor, where they could not reach an override:
// connected() comes once the factory has built the whole object.
//
// Thread safety: the hooks and the destructor run on the select server's
// thread; subclasses guard whatever other threads reach.
#ifndef VANTOR_IOS_IOSSERVERCONNECTION_H_
#define VANTOR_IOS_IOSSERVERCONNECTION_H_

#include "ios/IosInputStream.h"
#include "ios/IosOutputStream.h"

class Socket;

class IosServerConnection {
 public:
  explicit IosServerConnection(Socket* s);
  // Deletes the socket; a TaggedSocket also leaves its wait set.
  virtual ~IosServerConnection();
  IosServerConnection(const IosServerConnection&) = delete;
  IosServerConnection& operator=(const IosServerConnection&) = delete;

  // The connection object is complete and recorded as its socket's user data.
  virtual void connected() {}
  // Data has arrived; read only what the input stream has (it never
  // blocks), the whole server waits while this runs.
  virtual void dataAvailable() {}
  // The deadline set on the socket has passed; disconnected() follows.
  virtual void deadlinePassed() {}
  // The connection has ended; the object is deleted right after.
  virtual void disconnected() {}

 protected:
  Socket* getSocket() const { return socket_; }
  IosInputStream* getInput() const { return input_; }
  IosOutputStream* getOutput() const { return output_; }

 private:
  void setStreams(IosInputStream* in, IosOutputStream* out);

  IosInputStream* input_;
  IosOutputStream* output_;
  Socket* socket_;
};

#endif  // VANTOR_IOS_IOSSERVERCONNECTION_H_
