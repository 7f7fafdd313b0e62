// The usual factory: one object of the connection class T per accepted
// socket, kept as the socket's user data, with the three events passed to
// T's hooks. T derives from IosServerConnection and is constructed from
// (Socket*, server pointer); this factory passes a null server.
//
// Thread safety: as IosServerFactory, everything on the select server's thread.
#ifndef VANTOR_IOS_IOSSERVERSTANDARDFACTORY_H_
#define VANTOR_IOS_IOSSERVERSTANDARDFACTORY_H_

#include "ios/IosServerFactory.h"
#include "ios/TaggedSocket.h"

template <class T>
class IosServerStandardFactory : public IosServerFactory {
 public:
  void newConnection(TaggedSocket* s) override {
    T* connection = new T(s, nullptr);
    s->setUserData(connection);
    connection->connected();
  }

  void dataAvailable(TaggedSocket* s) override { connectionOf(s)->dataAvailable(); }

  void deadlinePassed(TaggedSocket* s) override {
    connectionOf(s)->deadlinePassed();
    connectionClosed(s);
  }

  void connectionClosed(TaggedSocket* s) override {
    T* connection = connectionOf(s);
    connection->disconnected();
    delete connection;
  }

 protected:
  static T* connectionOf(TaggedSocket* s) { return static_cast<T*>(s->getUserData()); }
};

#endif  // VANTOR_IOS_IOSSERVERSTANDARDFACTORY_H_
