// Call groups: record file, directory group file and the database operations.
#include "KxTest.h"
#include "PendingText.h"

#include "core/DBInterface.h"
#include "core/KXGlobalsCB.h"
#include "records/CallGroupList.h"

#include <QTemporaryDir>
#include <memory>

class TestCallGroups : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_work;
    std::unique_ptr<TDBInterface> m_db;

    QString folder() const { return m_work->path() + QStringLiteral("/directory/office/"); }

    // The pending changes as "action file folder" lines (action: put/del).
    QStringList pending() const { return KxTest::PendingLines(*m_db->FilesNeedingCommiting); }

    TKXCallGroup* addGroup(const QString& name, const QStringList& members)
    {
        auto* g = new TKXCallGroup;
        g->Name = name;
        g->Members = members;
        m_db->AddCallGroup(g);
        return g;
    }

    QStringList files() const
    {
        return QDir(folder()).entryList(QDir::Files, QDir::Name);
    }

private slots:
    void init()
    {
        QFile::remove(TKXGlobalsCB::FilePath());
        m_work = std::make_unique<QTemporaryDir>();
        m_db = std::make_unique<TDBInterface>(QStringLiteral("office"), nullptr);
        m_db->ControlBlock->WorkingDir = m_work->path();
        m_db->ControlBlock->LastIPAddress = QStringLiteral("192.0.2.10");
    }

    void defaultsAndReset()
    {
        TKXCallGroup g;
        QCOMPARE(g.Id, 0);
        QCOMPARE(g.Modified, true);
        QCOMPARE(g.Name, QStringLiteral("My CallGroup"));
        g.Name = QStringLiteral("Sales");
        g.Members = {QStringLiteral("201")};
        g.Reset();
        QCOMPARE(g.Name, QStringLiteral("My CallGroup"));
        QVERIFY(g.Members.isEmpty());
    }

    void groupFile_data()
    {
        QTest::addColumn<QStringList>("members");
        QTest::addColumn<QString>("hex");
        QTest::addColumn<QStringList>("userLines");
        QTest::newRow("Sales 201 202") << QStringList{"201", "202"} << "3230310D0A3230320D0A"
                                       << QStringList{"      <user id=\"201\" type=\"pointer\"/>",
                                                      "      <user id=\"202\" type=\"pointer\"/>"};
        QTest::newRow("no members") << QStringList{} << "" << QStringList{};
    }

    // The record file and the group file of a saved group, byte for byte.
    void groupFile()
    {
        QFETCH(QStringList, members);
        QFETCH(QString, hex);
        QFETCH(QStringList, userLines);
        TKXCallGroup* g = addGroup(QStringLiteral("Sales"), members);
        m_db->SaveCallGroups();

        KxTest::CompareLines(KxTest::ReadBytes(folder() + "Sales.cgp"),
                             {"[General]", QStringLiteral("Id=%1").arg(g->Id), "Name=Sales", "Members=" + hex,
                              QStringLiteral("MembersCount=%1").arg(members.size())});
        QStringList xml{"<include>", "  <group name =\"Sales\">", "    <users>"};
        xml << userLines << "    </users>" << "  </group>" << "</include>";
        KxTest::CompareLines(KxTest::ReadBytes(folder() + "Sales.xml"), xml);
        QCOMPARE(g->XMLText, xml);
    }

    void membersText_data()
    {
        QTest::addColumn<QString>("stored"); // null: no Members key at all
        QTest::addColumn<QStringList>("members");
        QTest::newRow("100 101") << "3130300D0A3130310D0A" << QStringList{"100", "101"};
        QTest::newRow("lower-case digits") << "3130300d0a" << QStringList{"100"};
        QTest::newRow("no line end") << "313030" << QStringList{"100"};
        QTest::newRow("empty") << "" << QStringList{};
        QTest::newRow("missing") << QString() << QStringList{};
    }

    void membersText()
    {
        QFETCH(QString, stored);
        QFETCH(QStringList, members);
        QString text = QStringLiteral("[General]\r\nId=3\r\nName=Sales\r\n");
        if (!stored.isNull()) text += QStringLiteral("Members=") + stored + QStringLiteral("\r\n");
        TKXCallGroup g;
        g.LoadFromIni(TIniFile::FromText(text));
        QCOMPARE(g.Id, 3);
        QCOMPARE(g.Name, QStringLiteral("Sales"));
        QCOMPARE(g.Members, members);
    }

    void escapedGroupFile()
    {
        TKXCallGroup g;
        g.Name = QStringLiteral("R&D \"lab\" <1>");
        g.Members = {QStringLiteral("2&1")};
        g.GenerateXML(m_work->path() + "/g.xml");
        KxTest::CompareLines(KxTest::ReadBytes(m_work->path() + "/g.xml"),
                             {"<include>", "  <group name =\"R&amp;D &quot;lab&quot; &lt;1&gt;\">", "    <users>",
                              "      <user id=\"2&amp;1\" type=\"pointer\"/>", "    </users>", "  </group>",
                              "</include>"});
    }

    // Add, save (two uploads per modified group, record file first), load,
    // get, update, look-ups.
    void recordPattern()
    {
        TKXCallGroup* sales = addGroup(QStringLiteral("Sales"), {"201", "202"});
        TKXCallGroup* support = addGroup(QStringLiteral("Support"), {"300"});
        QCOMPARE(support->Id, sales->Id + 1);
        QVERIFY(sales->Modified);
        QVERIFY(files().isEmpty()); // nothing is written by Add

        m_db->SaveCallGroups();
        const QString f = folder();
        const QString s = QStringLiteral("/etc/freeswitch/directory/office/");
        QCOMPARE(pending(), (QStringList{"put " + f + " Sales.cgp " + s, "put " + f + " Sales.xml " + s,
                                         "put " + f + " Support.cgp " + s, "put " + f + " Support.xml " + s}));
        QVERIFY(!sales->Modified);
        m_db->FilesNeedingCommiting->Clear();
        m_db->SaveCallGroups(); // nothing modified: nothing entered
        QCOMPARE(m_db->FilesNeedingCommiting->Count(), 0);

        m_db->LoadCallGroups();
        QCOMPARE(m_db->CallGroups->Count(), 2);
        const int salesId = m_db->FindCallGroupIdByName(QStringLiteral("sALES"));
        QVERIFY(salesId > 0);
        TKXCallGroup copy;
        QVERIFY(m_db->GetCallGroupById(salesId, copy));
        QCOMPARE(copy.Name, QStringLiteral("Sales"));
        QCOMPARE(copy.Members, (QStringList{"201", "202"}));
        QCOMPARE(copy.NodeKey, QString("27%1").arg(salesId).toInt());
        QVERIFY(copy.Modified); // a group read from disk is written by the next save
        QVERIFY(!m_db->GetCallGroupById(9999, copy));

        QVERIFY(m_db->CallGroupNameExists(QStringLiteral("Sales")));
        QVERIFY(!m_db->CallGroupNameExists(QStringLiteral("sales")));
        QCOMPARE(m_db->FindCallGroupIdByName(QStringLiteral("nobody")), -1);

        copy.Members << QStringLiteral("203");
        m_db->UpdateCallGroup(salesId, copy);
        QVERIFY(KxTest::ReadBytes(f + "Sales.cgp").contains("MembersCount=2")); // not yet written
        m_db->SaveCallGroups();
        QVERIFY(KxTest::ReadBytes(f + "Sales.cgp").contains("MembersCount=3"));
        m_db->LoadCallGroups();
        QCOMPARE(m_db->CallGroups->FindById(salesId)->Members, (QStringList{"201", "202", "203"}));
    }

    void nodeKey()
    {
        KxTest::WriteBytes(folder() + "G.cgp", "[General]\r\nId=4\r\nName=G\r\n");
        m_db->LoadCallGroups();
        QCOMPARE(m_db->CallGroups->Items(0)->NodeKey, 274);
    }

    // A lost globals.glo never hands out an Id that a loaded group holds.
    void nextIdAboveLoaded()
    {
        KxTest::WriteBytes(folder() + "G.cgp", "[General]\r\nId=12\r\nName=G\r\n");
        m_db->LoadCallGroups();
        QFile::remove(TKXGlobalsCB::FilePath());
        QCOMPARE(m_db->NextCallGroupId(), 13);
        QCOMPARE(m_db->NextCallGroupId(), 14);
    }

    void badRecordFileSkipped()
    {
        KxTest::WriteBytes(folder() + "Good.cgp", "[General]\r\nId=1\r\nName=Good\r\nMembers=3230310D0A\r\n");
        KxTest::WriteBytes(folder() + "NoId.cgp", "[General]\r\nName=NoId\r\n");
        KxTest::WriteBytes(folder() + "Garbage.cgp", "\x01\x02 not a record");
        KxTest::WriteBytes(folder() + "BadHex.cgp", "[General]\r\nId=2\r\nName=BadHex\r\nMembers=3G\r\n");
        m_db->LoadCallGroups();
        QCOMPARE(m_db->CallGroups->Count(), 1);
        QCOMPARE(m_db->CallGroups->Items(0)->Name, QStringLiteral("Good"));
        const QString problems = m_db->LoadProblemTexts().join(u'\n');
        QCOMPARE(m_db->LoadProblems.size(), size_t(3));
        for (const char* name : {"NoId.cgp", "Garbage.cgp", "BadHex.cgp"})
            QVERIFY2(problems.contains(folder() + name), qPrintable(problems));
        // Loading again reports each file once.
        m_db->LoadCallGroups();
        QCOMPARE(m_db->LoadProblems.size(), size_t(3));
    }

    void unsafeOrDuplicateNameRefused_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::newRow("path separator") << QStringList{"Sales", "a/b"};
        QTest::newRow("parent folder") << QStringList{"Sales", "..x"};
        QTest::newRow("double quote") << QStringList{"Sales", "a\"b"};
        QTest::newRow("control character") << QStringList{"Sales", "a\tb"};
        QTest::newRow("empty") << QStringList{"Sales", " "};
        QTest::newRow("same name twice") << QStringList{"Sales", "Sales"};
    }

    // Nothing at all is written when one name cannot be used.
    void unsafeOrDuplicateNameRefused()
    {
        QFETCH(QStringList, names);
        for (const QString& n : names) addGroup(n, {"201"});
        QVERIFY_THROWS_EXCEPTION(EKXError, m_db->SaveCallGroups());
        QVERIFY(files().isEmpty());
        QCOMPARE(m_db->FilesNeedingCommiting->Count(), 0);
        QVERIFY(!QFileInfo::exists(m_work->path() + "/directory/a"));
    }

    // Renaming writes the new files and removes the old ones here and on the
    // server; after a reload only the new name exists.
    void renameRemovesOldFiles()
    {
        addGroup(QStringLiteral("Sales"), {"201"});
        m_db->SaveCallGroups();
        m_db->LoadCallGroups();
        m_db->FilesNeedingCommiting->Clear();

        const int id = m_db->CallGroups->Items(0)->Id;
        TKXCallGroup copy;
        m_db->GetCallGroupById(id, copy);
        copy.Name = QStringLiteral("Support");
        m_db->UpdateCallGroup(id, copy);
        m_db->SaveCallGroups();

        QCOMPARE(files(), (QStringList{"Support.cgp", "Support.xml"}));
        const QString f = folder();
        const QString s = QStringLiteral("/etc/freeswitch/directory/office/");
        QCOMPARE(pending(), (QStringList{"put " + f + " Support.cgp " + s, "put " + f + " Support.xml " + s,
                                         "del - Sales.cgp " + s, "del - Sales.xml " + s}));
        m_db->LoadCallGroups();
        QCOMPARE(m_db->CallGroups->Count(), 1);
        QCOMPARE(m_db->CallGroups->Items(0)->Name, QStringLiteral("Support"));
        QCOMPARE(m_db->CallGroups->Items(0)->Id, id);
    }

    // Two groups that swap names both keep their (new) files.
    void swappedNamesKeepBothFiles()
    {
        addGroup(QStringLiteral("A"), {"1"});
        addGroup(QStringLiteral("B"), {"2"});
        m_db->SaveCallGroups();
        m_db->LoadCallGroups();
        m_db->FilesNeedingCommiting->Clear();
        for (const auto& g : *m_db->CallGroups)
            g->Name = g->Name == u"A" ? QStringLiteral("B") : QStringLiteral("A");
        m_db->SaveCallGroups();
        QCOMPARE(files(), (QStringList{"A.cgp", "A.xml", "B.cgp", "B.xml"}));
        for (int i = 0; i < m_db->FilesNeedingCommiting->Count(); ++i)
            QCOMPARE(m_db->FilesNeedingCommiting->Items(i)->ActionType, qint32(fnaaPut));
        m_db->LoadCallGroups();
        QCOMPARE(m_db->CallGroups->Count(), 2);
        for (const auto& g : *m_db->CallGroups)
            QCOMPARE(g->Members, QStringList{g->Name == u"A" ? QStringLiteral("2") : QStringLiteral("1")});
    }

    void deleteRemovesFilesAndEntersPendingDeletes()
    {
        addGroup(QStringLiteral("Sales"), {"201"});
        addGroup(QStringLiteral("Support"), {"300"});
        m_db->SaveCallGroups();
        m_db->LoadCallGroups();
        m_db->FilesNeedingCommiting->Clear();
        m_db->ControlBlock->LastIPAddress = QStringLiteral("local"); // deletions are entered all the same

        m_db->DeleteCallGroup(m_db->FindCallGroupIdByName(QStringLiteral("Sales")));
        QCOMPARE(m_db->CallGroups->Count(), 1);
        QCOMPARE(files(), (QStringList{"Support.cgp", "Support.xml"}));
        const QString s = QStringLiteral("/etc/freeswitch/directory/office/");
        QCOMPARE(pending(), (QStringList{"del - Sales.cgp " + s, "del - Sales.xml " + s}));
        m_db->LoadCallGroups();
        QCOMPARE(m_db->CallGroups->Count(), 1);

        m_db->DeleteCallGroup(4242); // no such group: nothing happens
        QCOMPARE(m_db->CallGroups->Count(), 1);
        QCOMPARE(m_db->FilesNeedingCommiting->Count(), 2);
    }

    void deleteFailureNamesTheFile()
    {
        addGroup(QStringLiteral("Sales"), {"201"});
        m_db->SaveCallGroups();
        QFile::remove(folder() + "Sales.cgp");
        QDir().mkpath(folder() + "Sales.cgp/in-the-way"); // a folder cannot be deleted as a file
        const int id = m_db->CallGroups->Items(0)->Id;
        try {
            m_db->DeleteCallGroup(id);
            QFAIL("the delete should fail");
        } catch (const EKXError& e) {
            QVERIFY2(e.Message.startsWith("Unable to delete file " + folder() + "Sales.cgp"), qPrintable(e.Message));
        }
        QCOMPARE(m_db->CallGroups->Count(), 0); // already out of the list
    }
};

KX_TEST_MAIN(TestCallGroups)
#include "tst_CallGroups.moc"
