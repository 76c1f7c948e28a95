#include "records/DPEExtensionFile.h"
#include "core/KesFSGlobalsCB.h"
#include "core/Store.h"
#include "core/kesfsCB.h"

namespace DPEExtensionFile {

QString RingbackCountry()
{
    const TKesFSCB defaults;
    TKesFSGlobalsCB globals;
    globals.LoadFromFile(Store::WithTrailingDelimiter(defaults.WorkingDir) + QStringLiteral("globals.glo"));
    return globals.RingbackCountry;
}

QStringList Lines(const QString& name, int numberDialled, int callTimeout, const QString& country,
                  bool withVoicemail)
{
    QStringList l;
    l << QStringLiteral("<include>");
    l << QStringLiteral("  <extension name=\"%1\">").arg(Store::XmlEscape(name));
    l << QStringLiteral("    <condition field=\"destination_number\" expression=\"^(%1)$\">").arg(numberDialled);
    l << QStringLiteral("      <action application=\"export\" data=\"dialed_extension=$1\"/>");
    l << QStringLiteral("      <!-- bind_meta_app can have these args <key> [a|b|ab] [a|b|o|s] <app> -->");
    l << QStringLiteral("      <action application=\"bind_meta_app\" data=\"1 b s execute_extension::dx XML features\"/>");
    l << QStringLiteral("      <action application=\"bind_meta_app\" data=\"2 b s record_session::$${recordings_dir}/${caller_id_number}.${strftime(%Y-%m-%d-%H-%M-%S)}.wav\"/>");
    l << QStringLiteral("      <action application=\"bind_meta_app\" data=\"3 b s execute_extension::cf XML features\"/>");
    l << QStringLiteral("      <action application=\"bind_meta_app\" data=\"4 b s execute_extension::att_xfer XML features\"/>");
    l << QStringLiteral("      <action application=\"set\" data=\"ringback=${") + Store::XmlEscape(country)
             + QStringLiteral("-ring}\"/>");
    l << QStringLiteral("      <action application=\"set\" data=\"transfer_ringback=$${hold_music}\"/>");
    l << QStringLiteral("      <action application=\"set\" data=\"call_timeout=%1\"/>").arg(callTimeout);
    l << QStringLiteral("      <!-- <action application=\"set\" data=\"sip_exclude_contact=${network_addr}\"/> -->");
    l << QStringLiteral("      <action application=\"set\" data=\"hangup_after_bridge=true\"/>");
    l << QStringLiteral("      <!--<action application=\"set\" data=\"continue_on_fail=NORMAL_TEMPORARY_FAILURE,USER_BUSY,NO_ANSWER,TIMEOUT,NO_ROUTE_DESTINATION\"/> -->");
    l << QStringLiteral("      <action application=\"set\" data=\"continue_on_fail=true\"/>");
    l << QStringLiteral("      <action application=\"hash\" data=\"insert/${domain_name}-call_return/${dialed_extension}/${caller_id_number}\"/>");
    l << QStringLiteral("      <action application=\"hash\" data=\"insert/${domain_name}-last_dial_ext/${dialed_extension}/${uuid}\"/>");
    l << QStringLiteral("      <action application=\"set\" data=\"called_party_callgroup=${user_data(${dialed_extension}@${domain_name} var callgroup)}\"/>");
    l << QStringLiteral("      <action application=\"hash\" data=\"insert/${domain_name}-last_dial_ext/${called_party_callgroup}/${uuid}\"/>");
    l << QStringLiteral("      <action application=\"hash\" data=\"insert/${domain_name}-last_dial_ext/global/${uuid}\"/>");
    l << QStringLiteral("      <!--<action application=\"export\" data=\"nolocal:sip_secure_media=${user_data(${dialed_extension}@${domain_name} var sip_secure_media)}\"/>-->");
    l << QStringLiteral("      <action application=\"hash\" data=\"insert/${domain_name}-last_dial/${called_party_callgroup}/${uuid}\"/>");
    l << QStringLiteral("      <action application=\"bridge\" data=\"user/${dialed_extension}@${domain_name}\"/>");
    l << QStringLiteral("      <action application=\"answer\"/>");
    l << QStringLiteral("      <action application=\"sleep\" data=\"1000\"/>");
    if (withVoicemail)
        l << QStringLiteral("      <action application=\"bridge\" data=\"loopback/app=voicemail:default ${domain_name} ${dialed_extension}\"/>");
    l << QStringLiteral("    </condition>");
    l << QStringLiteral("  </extension>");
    l << QStringLiteral("</include>");
    return l;
}

} // namespace DPEExtensionFile
