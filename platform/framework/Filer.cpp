#include "platform/framework/Filer.h"

#include <strings.h>

#include <cstdint>
#include <memory>

#include "platform/framework/Exception.h"

namespace {
constexpr const char* kUnknownProperty = "Property %s does not exist";
constexpr size_t kMaxNameLength = 255;
constexpr int64_t kMaxPropertyBytes = int64_t{1} << 31;
}  // namespace

void TWriter::WriteProperties(TPersistent& instance) {
  DefinePropertiesOf(instance);
  const uint8_t end = 0;
  Stream().WriteBuffer(&end, 1);
}

void TWriter::DefineBinaryProperty(const std::string& name, const TStreamProc&,
                                   const TStreamProc& writeData, bool hasData) {
  if (!hasData || name.empty() || name.size() > kMaxNameLength) return;
  TMemoryStream data;
  writeData(data);
  if (data.Size() >= kMaxPropertyBytes) throw EWriteError(FrameworkText::kWriteError);
  const auto length = static_cast<uint8_t>(name.size());
  const auto count = static_cast<uint32_t>(data.Size());
  Stream().WriteBuffer(&length, 1);
  Stream().WriteBuffer(name.data(), length);
  Stream().WriteBuffer(&count, sizeof count);
  data.SaveToStream(Stream());
}

void TReader::DefineBinaryProperty(const std::string& name, const TStreamProc& readData,
                                   const TStreamProc&, bool) {
  FProperties.push_back({name, readData});
}

void TReader::ReadProperties(TPersistent& instance) {
  FProperties.clear();
  DefinePropertiesOf(instance);
  for (;;) {
    uint8_t length = 0;
    Stream().ReadBuffer(&length, 1);
    if (length == 0) break;
    std::string name(length, '\0');
    Stream().ReadBuffer(name.data(), length);
    uint32_t count = 0;
    Stream().ReadBuffer(&count, sizeof count);
    if (count > Stream().Remaining()) throw EReadError(FrameworkText::kReadError);
    const Property* property = nullptr;
    for (const Property& p : FProperties)
      if (p.Name.size() == name.size() && strcasecmp(p.Name.c_str(), name.c_str()) == 0)
        property = &p;
    if (!property) throw EReadError(kUnknownProperty, name);
    TMemoryStream data;
    data.SetSize(count);
    Stream().ReadBuffer(data.Memory(), count);
    property->ReadData(data);
  }
}
