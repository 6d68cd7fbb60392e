// The host's COM add-in interface, IDTExtensibility2, as the add-in
// implements it. The custom arrays the host passes are never examined and
// are left out. A method that fails raises; the COM layer turns that into
// the error the host sees.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/host.h"

namespace rowtint::platform {

enum ext_ConnectMode : std::int32_t {
  ext_cm_AfterStartup = 0,
  ext_cm_Startup = 1,
  ext_cm_External = 2,
  ext_cm_CommandLine = 3,
};

enum ext_DisconnectMode : std::int32_t {
  ext_dm_HostShutdown = 0,
  ext_dm_UserClosed = 1,
};

class IDTExtensibility2 {
 public:
  virtual ~IDTExtensibility2() = default;
  virtual void OnConnection(const std::shared_ptr<host::Object>& Application, ext_ConnectMode ConnectMode,
                            const std::shared_ptr<host::Object>& AddInInst) = 0;
  virtual void OnDisconnection(ext_DisconnectMode RemoveMode) = 0;
  virtual void OnAddInsUpdate() = 0;
  virtual void OnStartupComplete() = 0;
  virtual void OnBeginShutdown() = 0;
};

}  // namespace rowtint::platform
