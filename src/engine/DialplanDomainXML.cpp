#include "engine/DialplanDomainXML.h"
#include "engine/kxVarsXML.h"

#include "core/IniFile.h"
#include "core/Store.h"

namespace {
const QString General = QStringLiteral("General");

// Adds the lines of a fixed block written as one text; the line break right
// after the opening delimiter is not a line of the block.
void addBlock(QStringList& x, const char* text)
{
    QString t = QString::fromUtf8(text);
    if (t.startsWith(u'\n')) t.remove(0, 1);
    if (t.endsWith(u'\n')) t.chop(1);
    x << t.split(u'\n');
}

QString destination(const QString& expression)
{
    return QStringLiteral("      <condition field=\"destination_number\" expression=\"") + expression
           + QStringLiteral("\">");
}

const char* const AnswerLine = "        <action application=\"answer\"/>";
const char* const SleepLine = "        <action application=\"sleep\" data=\"1000\"/>";

// ---- Fixed sample blocks ---------------------------------------------------

const char* const LoopAndDirection = R"~(
    <!-- A call that came back to us through a loop is deflected to its destination. -->
    <extension name="unloop">
      <condition field="${unroll_loops}" expression="^true$"/>
      <condition field="${sip_looped_call}" expression="^true$">
        <action application="deflect" data="${destination_number}"/>
      </condition>
    </extension>

    <!-- Calls that do not know their direction yet are marked local. -->
    <extension name="call_direction" continue="true">
      <condition field="${call_direction}" expression="^(inbound|outbound|local)$">
        <anti-action application="set" data="call_direction=local"/>
      </condition>
    </extension>
)~";

const char* const GlobalAndSnom = R"~(
    <!-- Runs for every call: debugging output, secure media, and the hashes -->
    <!-- that call return, redial and intercept read later. -->
    <extension name="global" continue="true">
      <condition field="${call_debug}" expression="^true$" break="never">
        <action application="info"/>
      </condition>
      <condition field="${sip_has_crypto}" expression="^(AES_CM_128_HMAC_SHA1_32|AES_CM_128_HMAC_SHA1_80)$" break="never">
        <action application="set" data="sip_secure_media=true"/>
      </condition>

      <condition>
        <action application="hash" data="insert/${domain_name}-spymap/${caller_id_number}/${uuid}"/>
        <action application="hash" data="insert/${domain_name}-last_dial/${caller_id_number}/${destination_number}"/>
        <action application="hash" data="insert/${domain_name}-last_dial/global/${uuid}"/>
        <action application="set" data="RFC2822_DATE=${strftime(%a, %d %b %Y %T %z)}"/>
      </condition>
    </extension>

    <!-- Snom phones: *9001 lights key 2 of the calling phone and transfers to 3000. -->
    <extension name="snom-demo-2">
      <condition field="destination_number" expression="^\*9001$">
        <action application="eval" data="${snom_bind_key(2 off DND ${sip_from_user} ${sip_from_host} ${sofia_profile_name} message notused)}"/>
        <action application="transfer" data="3000"/>
      </condition>
    </extension>

    <!-- Snom phones: *9000 binds key 2 of the calling phone and plays the hold music. -->
    <extension name="snom-demo-1">
      <condition field="destination_number" expression="^\*9000$">
        <action application="eval" data="${snom_bind_key(2 off DND ${sip_from_user} ${sip_from_host} ${sofia_profile_name} message notused)}"/>
        <action application="playback" data="$${hold_music}"/>
      </condition>
    </extension>
)~";

const char* const InterceptAndSkinny = R"~(
    <!-- ** followed by an extension picks up the last call to that extension. -->
    <extension name="intercept-ext">
      <condition field="destination_number" expression="^\*\*(\d+)$">
        <action application="answer"/>
        <action application="intercept" data="${hash(select/${domain_name}-last_dial_ext/$1)}"/>
        <action application="sleep" data="2000"/>
      </condition>
    </extension>

    <!-- Skinny (SCCP) phones with the numbers 1100 to 1119. -->
    <extension name="Local_Extension_Skinny">
      <condition field="destination_number" expression="^(11[01][0-9])$">
        <action application="bridge" data="skinny/internal/${destination_number}"/>
      </condition>
    </extension>
)~";

const char* const SampleGroupsAndOperator = R"~(
    <!-- Sample groups of the directory: *2000 sales, *2001 support, *2002 billing. -->
    <extension name="group_dial_sales">
      <condition field="destination_number" expression="^\*2000$">
        <action application="bridge" data="${group_call(sales@${domain_name})}"/>
      </condition>
    </extension>

    <extension name="group_dial_support">
      <condition field="destination_number" expression="^\*2001$">
        <action application="bridge" data="group/support@${domain_name}"/>
      </condition>
    </extension>

    <extension name="group_dial_billing">
      <condition field="destination_number" expression="^\*2002$">
        <action application="bridge" data="group/billing@${domain_name}"/>
      </condition>
    </extension>

    <!-- voicemail operator extension -->
    <extension name="operator">
      <condition field="destination_number" expression="^operator$">
        <action application="set" data="transfer_ringback=$${hold_music}"/>
        <action application="transfer" data="1000 XML features"/>
      </condition>
    </extension>

    <!-- Reached from outside the office, a mailbox greeting can be interrupted with -->
    <!-- the star key to log in to that mailbox. -->
    <extension name="vmain">
      <condition field="destination_number" expression="^vmain$">
        <action application="answer"/>
        <action application="sleep" data="1000"/>
        <action application="voicemail" data="check default ${domain_name} ${dialed_extension}"/>
      </condition>
    </extension>
)~";

// The public conference and demonstration addresses are placeholders of the
// domains reserved for examples; an installation points them where it wants.
const char* const SipUriConferencesAndDemos = R"~(
    <!--
        A sound-card phone (the portaudio endpoint) can dial a SIP address such
        as sip:someone@example.com; the call leaves through the profile named by
        the use_profile variable.
    -->
    <extension name="sip_uri">
      <condition field="destination_number" expression="^sip:(.*)$">
        <action application="bridge" data="sofia/${use_profile}/$1"/>
      </condition>
    </extension>

    <!-- Conference rooms by sound quality: *30xx narrowband, *31xx wideband, *32xx ultra-wideband. -->
    <extension name="nb_conferences">
      <condition field="destination_number" expression="^\*(30\d{2})$">
        <action application="answer"/>
        <action application="conference" data="$1-${domain_name}@default"/>
      </condition>
    </extension>

    <extension name="wb_conferences">
      <condition field="destination_number" expression="^\*(31\d{2})$">
        <action application="answer"/>
        <action application="conference" data="$1-${domain_name}@wideband"/>
      </condition>
    </extension>

    <extension name="uwb_conferences">
      <condition field="destination_number" expression="^\*(32\d{2})$">
        <action application="answer"/>
        <action application="conference" data="$1-${domain_name}@ultrawideband"/>
      </condition>
    </extension>

    <!-- *33xx: conference rooms in CD quality. -->
    <extension name="cdquality_conferences">
      <condition field="destination_number" expression="^\*(33\d{2})$">
        <action application="answer"/>
        <action application="conference" data="$1-${domain_name}@cdquality"/>
      </condition>
    </extension>

    <!-- *9888, *98888, *91616 and *93232: a public conference server reached over SIP. -->
    <extension name="freeswitch_public_conf_via_sip">
      <condition field="destination_number" expression="^\*9(888|8888|1616|3232)$">
        <action application="export" data="hold_music=silence"/>
        <action application="bridge" data="sofia/${use_profile}/$1@conference.example.org"/>
      </condition>
    </extension>

    <!-- *5000: the sample voice menu. -->
    <extension name="ivr_demo">
      <condition field="destination_number" expression="^\*5000$">
        <action application="answer"/>
        <action application="sleep" data="2000"/>
        <action application="ivr" data="demo_ivr"/>
      </condition>
    </extension>

    <!-- *5001: a conference of our own that also calls in the public conference server. -->
    <extension name="dynamic_conference">
      <condition field="destination_number" expression="^\*5001$">
        <action application="answer"/>
        <action application="conference" data="bridge:mydynaconf:sofia/${use_profile}/888@conference.example.org"/>
      </condition>
    </extension>

    <!-- pagegroup or *7243 (*PAGE): page the phones listening to the multicast group. -->
    <extension name="rtp_multicast_page">
      <condition field="destination_number" expression="^pagegroup$|^\*7243$">
        <action application="answer"/>
        <action application="esf_page_group"/>
      </condition>
    </extension>

    <!--
        Parking slots *5900 to *5999: dialling an empty slot parks the call there,
        dialling a slot that holds a call takes that call out again.
    -->
    <extension name="parking_slots">
      <condition field="destination_number" expression="^(\*59[0-9][0-9])$" break="on-false">
        <action application="set" data="fifo_name=$1@${domain_name}" inline="true"/>
        <action application="set" data="slot_count=${fifo(count ${fifo_name})}" inline="true"/>
      </condition>
      <condition field="${slot_count}" expression="^\:0$" break="always">
        <action application="fifo" data="${fifo_name} in undef $${hold_music}"/>
        <anti-action application="answer"/>
        <anti-action application="fifo" data="${fifo_name} out nowait"/>
      </condition>
    </extension>

    <!-- Valet parking: *6000 parks the call on the next free space from 6001 to 6099 and announces it. -->
    <extension name="valet_park_in">
      <condition field="destination_number" expression="^\*(6000)$">
        <action application="answer"/>
        <action application="valet_park" data="valet_parking_lot auto in 6001 6099"/>
      </condition>
    </extension>

    <!-- Valet parking: *60 and the two digits of a space take the call parked there. -->
    <extension name="valet_park_out">
      <condition field="destination_number" expression="^\*(60\d\d)$">
        <action application="answer"/>
        <action application="valet_park" data="valet_parking_lot $1"/>
      </condition>
    </extension>

    <!-- Park keys of phones that dial park+NNN to park and parking;fifo=NNN to take the call back. -->
    <extension name="park">
      <condition field="source" expression="mod_sofia"/>
      <condition field="destination_number" expression="park\+(\d+)">
        <action application="fifo" data="$1@${domain_name} in undef $${hold_music}"/>
      </condition>
    </extension>

    <extension name="unpark">
      <condition field="source" expression="mod_sofia"/>
      <condition field="destination_number" expression="^parking$"/>
      <condition field="${sip_to_params}" expression="fifo\=(\d+)">
        <action application="answer"/>
        <action application="fifo" data="$1@${domain_name} out nowait"/>
      </condition>
    </extension>

    <!-- Park keys of phones that transfer to callpark;orbit=NNN and dial pickup;orbit=NNN. -->
    <extension name="park">
      <condition field="source" expression="mod_sofia"/>
      <condition field="destination_number" expression="callpark"/>
      <condition field="${sip_refer_to}" expression="^&lt;sip:callpark@[^;]*;orbit=(\d+)&gt;$">
        <action application="fifo" data="$1@${domain_name} in undef $${hold_music}"/>
      </condition>
    </extension>

    <extension name="unpark">
      <condition field="source" expression="mod_sofia"/>
      <condition field="destination_number" expression="pickup"/>
      <condition field="${sip_to_params}" expression="orbit\=(\d+)">
        <action application="answer"/>
        <action application="fifo" data="$1@${domain_name} out nowait"/>
      </condition>
    </extension>

    <!--
        The variable ringback sets what a caller hears while the called phone rings,
        transfer_ringback what a transferred caller hears; either may hold a tone
        such as ${us-ring} or a sound such as the hold music.
    -->
    <!-- Demonstration of how to override the ringback in various situations -->
    <extension name="wait">
      <condition field="destination_number" expression="^wait$">
        <action application="pre_answer"/>
        <action application="sleep" data="20000"/>
        <action application="answer"/>
        <action application="sleep" data="1000"/>
        <action application="playback" data="voicemail/vm-goodbye.wav"/>
        <action application="hangup"/>
      </condition>
    </extension>

    <!-- *9178: receive a fax into /tmp/rxfax.tif. -->
    <extension name="fax_receive">
      <condition field="destination_number" expression="^\*9178$">
        <action application="answer"/>
        <action application="playback" data="silence_stream://2000"/>
        <action application="rxfax" data="/tmp/rxfax.tif"/>
        <action application="hangup"/>
      </condition>
    </extension>

    <!-- *9179: send the fax /tmp/txfax.tif. -->
    <extension name="fax_transmit">
      <condition field="destination_number" expression="^\*9179$">
        <action application="txfax" data="/tmp/txfax.tif"/>
        <action application="hangup"/>
      </condition>
    </extension>

    <!-- *9180: ringing signalled to the caller's phone (180 Ringing), then an answer. -->
    <extension name="ringback_180">
      <condition field="destination_number" expression="^\*9180$">
        <action application="ring_ready"/>
        <action application="sleep" data="10000"/>
        <action application="answer"/>
        <action application="sleep" data="1000"/>
        <action application="playback" data="voicemail/vm-goodbye.wav"/>
        <action application="hangup"/>
      </condition>
    </extension>

    <!-- *9181: early media (183) carrying the UK ring tone. -->
    <extension name="ringback_183_uk_ring">
      <condition field="destination_number" expression="^\*9181$">
        <action application="set" data="ringback=$${uk-ring}"/>
        <action application="bridge" data="loopback/wait"/>
      </condition>
    </extension>

    <!-- *9182: early media (183) carrying music instead of a ring tone. -->
    <extension name="ringback_183_music_ring">
      <condition field="destination_number" expression="^\*9182$">
        <action application="set" data="ringback=$${hold_music}"/>
        <action application="bridge" data="loopback/wait"/>
      </condition>
    </extension>

    <!-- *9183: the call is answered first, then the UK ring tone is played. -->
    <extension name="ringback_post_answer_uk_ring">
      <condition field="destination_number" expression="^\*9183$">
        <action application="answer"/>
        <action application="set" data="ringback=$${uk-ring}"/>
        <action application="bridge" data="loopback/wait"/>
      </condition>
    </extension>

    <!-- *9184: the call is answered first, then music is played while it rings. -->
    <extension name="ringback_post_answer_music">
      <condition field="destination_number" expression="^\*9184$">
        <action application="answer"/>
        <action application="set" data="ringback=$${hold_music}"/>
        <action application="bridge" data="loopback/wait"/>
      </condition>
    </extension>

    <!-- *9191: a public demonstration voice menu. -->
    <extension name="ClueCon">
      <condition field="destination_number" expression="^\*9191$">
        <action application="set" data="effective_caller_id_name=ClueCon IVR"/>
        <action application="bridge" data="sofia/${use_profile}/15555550123@demo.example.net"/>
      </condition>
    </extension>

    <!-- *9192: write the call's variables to the log. -->
    <extension name="show_info">
      <condition field="destination_number" expression="^\*9192$">
        <action application="answer"/>
        <action application="info"/>
        <action application="sleep" data="250"/>
        <action application="hangup"/>
      </condition>
    </extension>

    <!-- *9193: record video into /tmp/testrecord.fsv; *9194 plays it back. -->
    <extension name="video_record">
      <condition field="destination_number" expression="^\*9193$">
        <action application="answer"/>
        <action application="record_fsv" data="/tmp/testrecord.fsv"/>
      </condition>
    </extension>

    <extension name="video_playback">
      <condition field="destination_number" expression="^\*9194$">
        <action application="answer"/>
        <action application="play_fsv" data="/tmp/testrecord.fsv"/>
      </condition>
    </extension>

    <!-- *9195: echo with a delay of five seconds. -->
    <extension name="delay_echo">
      <condition field="destination_number" expression="^\*9195$">
        <action application="answer"/>
        <action application="delay_echo" data="5000"/>
      </condition>
    </extension>
)~";

const char* const TonesZrtpAndHoldMusic = R"~(
    <!-- *9197: a continuous 1004 Hz test tone (milliwatt). -->
    <extension name="milliwatt">
      <condition field="destination_number" expression="^\*9197$">
        <action application="answer"/>
        <action application="playback" data="{loops=-1}tone_stream://%(251,0,1004)"/>
      </condition>
    </extension>

    <!-- *9198: a tune played from a tone stream description. -->
    <extension name="tone_stream">
      <condition field="destination_number" expression="^\*9198$">
        <action application="answer"/>
        <action application="playback" data="{loops=10}tone_stream://path=${base_dir}/conf/tetris.ttml"/>
      </condition>
    </extension>

    <!-- *9787: enrol the phone for ZRTP encrypted calls. -->
    <extension name="zrtp_enrollement">
      <condition field="destination_number" expression="^\*9787$">
        <action application="answer"/>
        <action application="lua" data="zrtp_agent.lua"/>
      </condition>
    </extension>

    <!-- *9664: hold music; the caller first hears whether the call is secure. -->
    <extension name="hold_music">
      <condition field="destination_number" expression="^\*9664$"/>
      <condition field="${rtp_has_crypto}" expression="^($${rtp_sdes_suites})$">
        <action application="answer"/>
        <action application="execute_extension" data="is_secure XML features"/>
        <action application="playback" data="$${hold_music}"/>
        <anti-action application="set" data="zrtp_secure_media=true"/>
        <anti-action application="answer"/>
        <anti-action application="playback" data="silence_stream://2000"/>
        <anti-action application="execute_extension" data="is_zrtp_secure XML features"/>
        <anti-action application="playback" data="$${hold_music}"/>
      </condition>
    </extension>
)~";

// The engine's preprocessor acts on its directive wherever the directive's
// name stands on a line, comments included, so the sample include is written
// with the name split: as a comment it stays readable, and the folder is not
// included a second time.
const char* const Trailer = R"~(
    <!--
        Dialplan files placed in the folder default beside this file, and in the
        folder named after the domain, are included above, before Local_Extension.
        The sample line below is written with the directive's name split
        ("X-PRE- PROCESS"), because the engine's preprocessor acts on that
        directive even inside a comment.
    -->
        <!--<X-PRE- PROCESS cmd="include" data="default/*.xml"/>-->

    <!--
    <extension name="refer">
      <condition field="${sip_refer_to}" expression="^&lt;sip:(.*)@(.*)&gt;$">
        <action application="set" data="refer_user=$1"/>
        <action application="set" data="refer_domain=$2"/>
        <action application="info"/>
        <action application="bridge" data="sofia/${use_profile}/${refer_user}@${refer_domain}"/>
      </condition>
    </extension>

    <extension name="ruri">
      <condition field="${sip_req_uri}" expression="^(.*)$">
        <action application="bridge" data="sofia/${use_profile}/$1"/>
      </condition>
    </extension>

    <extension name="7004">
      <condition field="destination_number" expression="^7004$">
        <action application="set" data="domain_name=$${domain}"/>
        <action application="bridge" data="user/1004@${domain_name}"/>
      </condition>
    </extension>

    <extension name="enum">
      <condition field="destination_number" expression="^(.*)$">
        <action application="transfer" data="$1 enum"/>
      </condition>
    </extension>
    -->
)~";

} // namespace

TDialplanDomainXML::TDialplanDomainXML(TKesFSVarsXML* varsXML)
    : VarsXML(varsXML),
      CallGroupOrder(QStringLiteral("*83")),
      CallGroupSimo(QStringLiteral("*82")),
      CallPrivacy(QStringLiteral("*67")),
      CallReturn(QStringLiteral("*69")),
      CallTimeout(15),
      AddGroup(QStringLiteral("*81")),
      DelGroup(QStringLiteral("*80")),
      Echo(QStringLiteral("*9196")),
      GroupIntercept(QStringLiteral("*8")),
      LocalExtension(QStringLiteral("d{2,7}")),
      Redial(QStringLiteral("*870")),
      SendToVoicemail(QStringLiteral("*99")),
      VMain1(QStringLiteral("*97")),
      VMain2(QStringLiteral("*98"))
{
}

void TDialplanDomainXML::LoadFromFile(const QString& fileName)
{
    const TIniFile ini(fileName);
    auto str = [&](const char* key, QString& field) { field = ini.ReadString(General, QString::fromLatin1(key), field); };
    str("CallGroupOrder", CallGroupOrder);
    str("CallGroupSimo", CallGroupSimo);
    str("CallPrivacy", CallPrivacy);
    str("CallReturn", CallReturn);
    CallTimeout = ini.ReadInteger(General, QStringLiteral("CallTimeout"), CallTimeout);
    str("ContextName", ContextName);
    str("AddGroup", AddGroup);
    str("DelGroup", DelGroup);
    str("Echo", Echo);
    str("GroupIntercept", GroupIntercept);
    str("LocalExtension", LocalExtension);
    str("Redial", Redial);
    str("SendToVoicemail", SendToVoicemail);
    str("VMain1", VMain1);
    str("VMain2", VMain2);
}

void TDialplanDomainXML::SaveToFile(const QString& fileName) const
{
    TIniFile ini(fileName);
    auto str = [&](const char* key, const QString& value) { ini.WriteString(General, QString::fromLatin1(key), value); };
    str("CallGroupOrder", CallGroupOrder);
    str("CallGroupSimo", CallGroupSimo);
    str("CallPrivacy", CallPrivacy);
    str("CallReturn", CallReturn);
    ini.WriteInteger(General, QStringLiteral("CallTimeout"), CallTimeout);
    str("ContextName", ContextName);
    str("AddGroup", AddGroup);
    str("DelGroup", DelGroup);
    str("Echo", Echo);
    str("GroupIntercept", GroupIntercept);
    str("LocalExtension", LocalExtension);
    str("Redial", Redial);
    str("SendToVoicemail", SendToVoicemail);
    str("VMain1", VMain1);
    str("VMain2", VMain2);
    ini.UpdateFile();
}

QString TDialplanDomainXML::QuoteFeatureCode(const QString& code)
{
    QString out;
    for (QChar c : code) {
        const char16_t u = c.unicode();
        const bool plain = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9');
        if (!plain) out += u'\\';
        out += c;
    }
    return out;
}

void TDialplanDomainXML::GenerateXML(const QString& fileName)
{
    // A feature code inside an expression attribute.
    auto code = [](const QString& c) { return Store::XmlEscape(QuoteFeatureCode(c)); };
    const QString answer = QString::fromLatin1(AnswerLine);
    const QString sleep = QString::fromLatin1(SleepLine);
    const QString country = VarsXML ? VarsXML->DefaultCountry : QStringLiteral("US");

    QStringList x = Store::HeaderBlock();
    x << QStringLiteral("<include>")
      << QStringLiteral("  <context name=\"") + Store::XmlEscape(ContextName) + QStringLiteral("\">")
      << QString();

    addBlock(x, LoopAndDirection);
    x << QString();

    x << QStringLiteral("    <extension name=\"group-intercept\">")
      << destination(QStringLiteral("^") + code(GroupIntercept) + QStringLiteral("$"))
      << answer
      << QStringLiteral("        <action application=\"intercept\" data=\"${hash(select/${domain_name}-last_dial/${call_group})}\"/>")
      << QStringLiteral("        <action application=\"sleep\" data=\"2000\"/>")
      << QStringLiteral("      </condition>")
      << QStringLiteral("    </extension>")
      << QString();

    x << QStringLiteral("    <extension name=\"redial\">")
      << destination(QStringLiteral("^(redial|") + code(Redial) + QStringLiteral(")$"))
      << QStringLiteral("        <action application=\"transfer\" data=\"${hash(select/${domain_name}-last_dial/${caller_id_number})}\"/>")
      << QStringLiteral("      </condition>")
      << QStringLiteral("    </extension>")
      << QString();

    addBlock(x, GlobalAndSnom);
    x << QString();

    x << QStringLiteral("    <extension name=\"call_privacy\">")
      << destination(QStringLiteral("^") + code(CallPrivacy) + QStringLiteral("(\\d+)$"))
      << QStringLiteral("        <action application=\"privacy\" data=\"full\"/>")
      << QStringLiteral("        <action application=\"set\" data=\"sip_h_Privacy=id\"/>")
      << QStringLiteral("        <action application=\"set\" data=\"privacy=yes\"/>")
      << QStringLiteral("        <action application=\"transfer\" data=\"$1 XML default\"/>")
      << QStringLiteral("      </condition>")
      << QStringLiteral("    </extension>")
      << QString();

    x << QStringLiteral("    <extension name=\"call_return\">")
      << destination(QStringLiteral("^") + code(CallReturn) + QStringLiteral("$|^869$|^lcr$"))
      << QStringLiteral("        <action application=\"transfer\" data=\"${hash(select/${domain_name}-call_return/${caller_id_number})}\"/>")
      << QStringLiteral("      </condition>")
      << QStringLiteral("    </extension>")
      << QString();

    auto dialGroup = [&](const char* name, const QString& featureCode, const QStringList& actions) {
        x << QStringLiteral("    <extension name=\"%1\">").arg(QString::fromLatin1(name))
          << destination(QStringLiteral("^") + code(featureCode) + QStringLiteral("(\\d{2})$"))
          << actions
          << QStringLiteral("      </condition>")
          << QStringLiteral("    </extension>")
          << QString();
    };
    dialGroup("del-group", DelGroup,
              {answer,
               QStringLiteral("        <action application=\"group\" data=\"delete:$1@${domain_name}:${sofia_contact(${sip_from_user}@${domain_name})}\"/>"),
               QStringLiteral("        <action application=\"gentones\" data=\"%(1000, 0, 320)\"/>")});
    dialGroup("add-group", AddGroup,
              {answer,
               QStringLiteral("        <action application=\"group\" data=\"insert:$1@${domain_name}:${sofia_contact(${sip_from_user}@${domain_name})}\"/>"),
               QStringLiteral("        <action application=\"gentones\" data=\"%(1000, 0, 640)\"/>")});
    dialGroup("call-group-simo", CallGroupSimo,
              {QStringLiteral("        <action application=\"bridge\" data=\"{leg_timeout=15,ignore_early_media=true}${group(call:$1@${domain_name})}\"/>")});
    dialGroup("call-group-order", CallGroupOrder,
              {QStringLiteral("        <action application=\"bridge\" data=\"{leg_timeout=15,ignore_early_media=true}${group(call:$1@${domain_name}:order)}\"/>")});

    addBlock(x, InterceptAndSkinny);
    x << QString();

    x << QStringLiteral("    <extension name=\"send_to_voicemail\">")
      << destination(QStringLiteral("^") + code(SendToVoicemail) + QStringLiteral("(\\d{2,7})$"))
      << answer
      << sleep
      << QStringLiteral("        <action application=\"set\" data=\"dialed_extension=$1\"/>")
      << QStringLiteral("        <action application=\"export\" data=\"dialed_extension=$1\"/>")
      << QStringLiteral("        <action application=\"voicemail\" data=\"default ${domain_name} ${dialed_extension}\"/>")
      << QStringLiteral("      </condition>")
      << QStringLiteral("    </extension>")
      << QString();

    // The dialplan entries and outbound routes of the installation live in the
    // folder named after the domain; the folder default is always included.
    x << QStringLiteral("    <X-PRE-PROCESS cmd=\"include\" data=\"default/*.xml\"/>");
    if (!Domain.isEmpty() && Domain != QLatin1String("default"))
        x << QStringLiteral("    <X-PRE-PROCESS cmd=\"include\" data=\"") + Store::XmlEscape(Domain)
                 + QStringLiteral("/*.xml\"/>");
    x << QString();

    addBlock(x, SampleGroupsAndOperator);
    x << QString();

    x << QStringLiteral("    <!-- voicemail main extension -->")
      << QStringLiteral("    <extension name=\"vmain1\">")
      << destination(QStringLiteral("^vmain1$|^") + code(VMain1) + QStringLiteral("$|^\\*4000$"))
      << answer
      << sleep
      << QStringLiteral("        <action application=\"voicemail\" data=\"check default ${domain_name}\"/>")
      << QStringLiteral("      </condition>")
      << QStringLiteral("    </extension>")
      << QString();

    x << QStringLiteral("    <!-- voicemail main2 extension -->")
      << QStringLiteral("    <extension name=\"vmain2\">")
      << destination(QStringLiteral("^vmain2$|^") + code(VMain2) + QStringLiteral("$"))
      << answer
      << sleep
      << QStringLiteral("        <action application=\"voicemail\" data=\"check default ${domain_name} ${sip_from_user}\"/>")
      << QStringLiteral("      </condition>")
      << QStringLiteral("    </extension>")
      << QString();

    addBlock(x, SipUriConferencesAndDemos);
    x << QString();

    x << QStringLiteral("    <extension name=\"echo\">")
      << destination(QStringLiteral("^") + code(Echo) + QStringLiteral("$"))
      << answer
      << QStringLiteral("        <action application=\"echo\"/>")
      << QStringLiteral("      </condition>")
      << QStringLiteral("    </extension>")
      << QString();

    addBlock(x, TonesZrtpAndHoldMusic);
    x << QString();

    x << QStringLiteral("    <!--")
      << QStringLiteral("        Any local extension number: ring the extension for the call timeout below;")
      << QStringLiteral("        when the call cannot be completed the caller reaches the extension's")
      << QStringLiteral("        voicemail, and after a successful bridge the call simply ends.")
      << QStringLiteral("    -->")
      << QStringLiteral("    <extension name=\"Local_Extension\">")
      << destination(QStringLiteral("(^\\") + Store::XmlEscape(LocalExtension) + QStringLiteral("$)"))
      << QStringLiteral("        <action application=\"set\" data=\"dialed_extension=$1\"/>")
      << QStringLiteral("        <action application=\"export\" data=\"dialed_extension=$1\"/>")
      << QStringLiteral("        <action application=\"limit\" data=\"hash ${domain_name} $1 ${limit_max} ${limit_destination}\"/>")
      << QStringLiteral("        <!-- bind_meta_app can have these args <key> [a|b|ab] [a|b|o|s] <app> -->")
      << QStringLiteral("        <action application=\"bind_meta_app\" data=\"1 b s execute_extension::dx XML features\"/>")
      << QStringLiteral("        <action application=\"bind_meta_app\" data=\"2 b s record_session::$${recordings_dir}/archive/${strftime(%Y)}/${strftime(%b)}/${strftime(%d)}/${uuid}.wav\"/>")
      << QStringLiteral("        <action application=\"bind_meta_app\" data=\"3 b s execute_extension::cf XML features\"/>")
      << QStringLiteral("        <action application=\"bind_meta_app\" data=\"4 b s execute_extension::att_xfer XML features\"/>")
      << QStringLiteral("        <action application=\"set\" data=\"ringback=${") + Store::XmlEscape(country)
             + QStringLiteral("-ring}\"/>")
      << QStringLiteral("        <action application=\"set\" data=\"transfer_ringback=$${hold_music}\"/>")
      << QStringLiteral("        <action application=\"set\" data=\"call_timeout=") + QString::number(CallTimeout)
             + QStringLiteral("\"/>")
      << QStringLiteral("        <!-- <action application=\"set\" data=\"sip_exclude_contact=${network_addr}\"/> -->")
      << QStringLiteral("        <action application=\"set\" data=\"hangup_after_bridge=true\"/>")
      << QStringLiteral("        <!--<action application=\"set\"  data=\"continue_on_fail=NORMAL_TEMPORARY_FAILURE,USER_BUSY,NO_ANSWER,TIMEOUT,NO_ROUTE_DESTINATION\"/> -->")
      << QStringLiteral("        <action application=\"set\" data=\"continue_on_fail=true\"/>")
      << QStringLiteral("        <action application=\"hash\" data=\"insert/${domain_name}-call_return/${dialed_extension}/${caller_id_number}\"/>")
      << QStringLiteral("        <action application=\"hash\" data=\"insert/${domain_name}-last_dial_ext/${dialed_extension}/${uuid}\"/>")
      << QStringLiteral("        <action application=\"set\" data=\"called_party_call_group=${user_data(${dialed_extension}@${domain_name} var call_group)}\"/>")
      << QStringLiteral("        <!--<action application=\"export\" data=\"nolocal:sip_secure_media=${user_data(${dialed_extension}@${domain_name} var sip_secure_media)}\"/>-->")
      << QStringLiteral("        <action application=\"hash\" data=\"insert/${domain_name}-last_dial/${called_party_call_group}/${uuid}\"/>")
      << QStringLiteral("        <!-- standard method -->")
      << QStringLiteral("        <!--<action application=\"bridge\" data=\"user/${dialed_extension}@${domain_name}\"/> -->")
      << QStringLiteral("        <!-- sofia contact -->")
      << QStringLiteral("        <!--<action application=\"bridge\" data=\"${sofia_contact(${dialed_extension}@${domain_name})}\"/>-->")
      << QStringLiteral("        <!-- number-alias: bridging through the user's id attribute also reaches a user dialled by a number alias, see https://freeswitch.org/confluence/display/FREESWITCH/XML+User+Directory -->")
      << QStringLiteral("        <action application=\"bridge\" data=\"user/${user_data(${destination_number}@${domain_name} attr id)}@${domain_name}\"/>")
      << answer
      << sleep
      << QStringLiteral("        <!--<action application=\"bridge\" data=\"loopback/app=voicemail:default ${domain_name} ${dialed_extension}\"/>-->")
      << QStringLiteral("        <action application=\"voicemail\" data=\"default ${domain_name} ${dialed_extension}\"/>")
      << QStringLiteral("      </condition>")
      << QStringLiteral("    </extension>")
      << QString();

    addBlock(x, Trailer);
    x << QString();

    x << QStringLiteral("  </context>")
      << QStringLiteral("</include>");
    XMLText = x;
    Store::WriteGeneratedFile(fileName, XMLText);
}
