#include "frontend/library/library_document.h"

#include "frontend/convert/json_reading.h"
#include "frontend/convert/library_value.h"
#include "platform/console_output.h"

DocumentReading ReadLibraryDocument(const DocumentGetter& getter, Json::Value* document) {
  ScopedVariant value;
  if (!getter(value.out()))
    return DocumentReading::Refused;
  Json::Value read;
  if (!VariantToJson(value.get(), &read) || !IsObjectOrNull(read))
    return DocumentReading::Unparsable;
  document->swap(read);
  return DocumentReading::Read;
}

bool ReadLibraryDocumentOrPrint(const DocumentGetter& getter, const std::string& refused_line,
                                const std::string& unparsable_line, Json::Value* document) {
  switch (ReadLibraryDocument(getter, document)) {
    case DocumentReading::Read:
      return true;
    case DocumentReading::Refused:
      PrintLine(refused_line);
      return false;
    case DocumentReading::Unparsable:
      PrintLine(unparsable_line);
      return false;
  }
  return false;
}
