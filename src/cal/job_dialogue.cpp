#include "cal/job_dialogue.h"

#include "link/commands.h"

namespace vantor {

bool JobDialogue::Info(int bank) {
  InfoParams params;
  params.bank = static_cast<std::uint8_t>(bank);
  params.p4 = link_.Profile().infoFourthParam;
  return Step(TxSlInfo(link_, params), "TxSlInfo Failed");
}

bool JobDialogue::FreshRequest(int (*request)(EcmLink&, int), int bank, std::string_view failText) {
  link_.Reply().payload.fill(0x55);
  return Step(request(link_, bank), failText);
}

}  // namespace vantor
