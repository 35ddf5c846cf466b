#include "update/single_bin_update.h"

#include "cal/ve_file.h"
#include "update/bin_naming.h"
#include "update/calibration_migration.h"

namespace vantor {

SingleBinUpdate UpdateOneBinFile(const std::string& sourcePath) {
  SingleBinUpdate outcome;
  const SignatureCheck check = CheckSignature(sourcePath, BinReader::UpdateUtility);
  if (check.status == SignatureStatus::CannotOpen) {
    outcome.text = "Can not open BIN file";
    outcome.caption = kFileOpenErrorCaption;
    return outcome;
  }
  if (check.status == SignatureStatus::NotABin) {
    outcome.chooseAgain = true;
    outcome.text = check.text;
    outcome.caption = check.caption;
    return outcome;
  }
  outcome.newPath = UpdatedBinName(sourcePath);
  const ConvertOutcome converted = ConvertCalibration(sourcePath, outcome.newPath);
  outcome.result = 0;
  switch (converted.status) {
    case ConvertStatus::Error:
      outcome.text = "             BIN Creation failed             \n\n" + converted.text;
      outcome.caption = kNotABinCaption;
      break;
    case ConvertStatus::AlreadyCurrent:
      // Nothing was written: say so rather than announce a new file.
      outcome.text = converted.text;
      outcome.caption = "BIN Update";
      break;
    case ConvertStatus::Ok:
      outcome.text = "            New BIN has been Created             ";
      outcome.caption = "SUCCESS!";
      break;
  }
  return outcome;
}

}  // namespace vantor
