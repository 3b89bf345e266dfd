// Stored data of persistent objects: each object names its binary properties in
// DefineProperties, and a writer or reader stores or restores them on a stream.
//
// Stream form: for every property with data, a name (one length byte, then the
// characters), a 32-bit little-endian byte count and that many bytes; a zero
// length byte ends the list.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/framework/Persistent.h"
#include "platform/framework/Stream.h"

using TStreamProc = std::function<void(TStream& stream)>;

class TFiler : public TObject {
 public:
  LOUPIX_CLASS(TFiler, TObject)
  explicit TFiler(TStream& stream) : FStream(stream) {}

  // hasData tells a writer whether the property is stored at all.
  virtual void DefineBinaryProperty(const std::string& name, const TStreamProc& readData,
                                    const TStreamProc& writeData, bool hasData) = 0;
  TStream& Stream() const { return FStream; }

 protected:
  void DefinePropertiesOf(TPersistent& instance) { instance.DefineProperties(*this); }

 private:
  TStream& FStream;
};

class TWriter : public TFiler {
 public:
  LOUPIX_CLASS(TWriter, TFiler)
  using TFiler::TFiler;
  void WriteProperties(TPersistent& instance);
  void DefineBinaryProperty(const std::string& name, const TStreamProc& readData,
                            const TStreamProc& writeData, bool hasData) override;
};

// A property's reader sees only that property's bytes; reading past them is a
// "Stream read error", and bytes it leaves are skipped. Unknown names raise
// EReadError "Property %s does not exist".
class TReader : public TFiler {
 public:
  LOUPIX_CLASS(TReader, TFiler)
  using TFiler::TFiler;
  void ReadProperties(TPersistent& instance);
  void DefineBinaryProperty(const std::string& name, const TStreamProc& readData,
                            const TStreamProc& writeData, bool hasData) override;

 private:
  struct Property {
    std::string Name;
    TStreamProc ReadData;
  };
  std::vector<Property> FProperties;
};
