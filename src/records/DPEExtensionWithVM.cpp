#include "records/DPEExtensionWithVM.h"
#include "core/Store.h"
#include "records/DPEExtensionFile.h"
#include "records/basicdialplanentry.h"

TDPEExtensionWithVM::TDPEExtensionWithVM()
    : Id(-1), Call_Timeout(15), DialplanEntryType(detExtensionWithVM), ExtToRing(-1), NumberDialled(0)
{
}

void TDPEExtensionWithVM::LoadFromIni(const TIniFile& ini) { DPEExtensionFile::LoadFromIni(*this, ini); }

void TDPEExtensionWithVM::SaveToIni(TIniFile& ini) const { DPEExtensionFile::SaveToIni(*this, ini); }

void TDPEExtensionWithVM::LoadFromFile(const QString& fileName) { LoadFromIni(TIniFile(fileName)); }

void TDPEExtensionWithVM::SaveToFile(const QString& fileName) const
{
    TIniFile ini(fileName);
    SaveToIni(ini);
    ini.UpdateFile();
}

void TDPEExtensionWithVM::GenerateXML(const QString& fileName)
{
    XMLText = DPEExtensionFile::Lines(Name, NumberDialled, Call_Timeout, DPEExtensionFile::RingbackCountry(), true);
    Store::WriteGeneratedFile(fileName, XMLText);
}
