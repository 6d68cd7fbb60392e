// The COM objects that come with the fakes: type information that knows its
// name, a collection's enumerator and a connection point. Each counts as a
// live fake while it lives.
#pragma once

#include "fake_dispatch.h"

namespace rowtint::win32::fakes {

ComPtr<ITypeInfo> MakeTypeInfo(const std::string& name);
ComPtr<IEnumVARIANT> MakeEnum(std::vector<Variant> items);
// A connection point over the fake's state for one event interface; it keeps the fake alive.
ComPtr<IConnectionPoint> MakePoint(const ComPtr<FakeDispatch>& owner, FakeDispatch::Events& events);

}  // namespace rowtint::win32::fakes
