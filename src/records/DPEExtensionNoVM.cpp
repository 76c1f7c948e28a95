#include "records/DPEExtensionNoVM.h"
#include "core/Store.h"
#include "records/DPEExtensionFile.h"
#include "records/basicdialplanentry.h"

TDPEExtensionNoVM::TDPEExtensionNoVM()
    : Id(-1), Call_Timeout(15), DialplanEntryType(detExtensionNoVM), ExtToRing(-1), NumberDialled(0)
{
}

void TDPEExtensionNoVM::LoadFromIni(const TIniFile& ini) { DPEExtensionFile::LoadFromIni(*this, ini); }

void TDPEExtensionNoVM::SaveToIni(TIniFile& ini) const { DPEExtensionFile::SaveToIni(*this, ini); }

void TDPEExtensionNoVM::LoadFromFile(const QString& fileName) { LoadFromIni(TIniFile(fileName)); }

void TDPEExtensionNoVM::SaveToFile(const QString& fileName) const
{
    TIniFile ini(fileName);
    SaveToIni(ini);
    ini.UpdateFile();
}

void TDPEExtensionNoVM::GenerateXML(const QString& fileName)
{
    XMLText = DPEExtensionFile::Lines(Name, NumberDialled, Call_Timeout, DPEExtensionFile::RingbackCountry(), false);
    Store::WriteGeneratedFile(fileName, XMLText);
}
