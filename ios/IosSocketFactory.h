// Makes the Socket object that wraps a descriptor returned by accept(), so
// that a listening socket can hand out plain or tagged sockets.
//
// Thread safety: implementations are stateless.
#ifndef VANTOR_IOS_IOSSOCKETFACTORY_H_
#define VANTOR_IOS_IOSSOCKETFACTORY_H_

class Socket;

class IosSocketFactory {
 public:
  // The caller owns the result.
  virtual Socket* createSocket(int descriptor) = 0;

 protected:
  ~IosSocketFactory() = default;
};

#endif  // VANTOR_IOS_IOSSOCKETFACTORY_H_
