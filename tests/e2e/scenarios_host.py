"""The scripted host's own check, on a plug-in made to test it (tests/e2e/fixture): what
the host reports must be what that plug-in did, so that the other scenarios can rely on
the host's lines."""

from check import expect, expect_equal, scenario
from scenarios_load import CONTENT_ENTRY_POINTS, PICTURE_ENTRY_POINTS, WIDE_ENTRY_POINTS


@scenario("host")
def host_reports_what_a_plugin_does(sc):
    sc.install_fixture()
    sc.folder.joinpath("chosen").mkdir()
    out = sc.run_host([
        "init", "rootname 4", "findfirst \\", "findnext", "findclose", "lasterror",
        "picker choose P:\\chosen", "exec \\ pick", "picker cancel", "exec \\ pick",
        "exec \\ send", "exec \\ other", "put P:\\music\\a.mp3", "delete \\a",
        "status start 1", "getfile \\a P:\\a",
    ], plugin=sc.fixture_path, close_player=False)
    exports = out.exports()
    # The fixture has no Unicode forms, no content columns and no pictures at all.
    expect_equal(sorted(n for n, state in exports.items() if state == "missing"),
                 sorted(["FsDeleteFile", "FsGetFile", "FsPutFile", "FsStatusInfo"] +
                        WIDE_ENTRY_POINTS + CONTENT_ENTRY_POINTS + PICTURE_ENTRY_POINTS),
                 "missing exports")
    expected = [
        "callback\tlog\t1\tfixture log line",
        "init\t7",
        "msgbox\tnone\twarning\tOK\tFixture\tno owner",
        "rootname\t4\tFix\tintact",
        "findfirst\t1\t0",
        "item\t00000020\t=\t=\t=\t=\t=\t=\t=\tone\t=",
    ]
    # Only the 32-bit host can see a calling convention that leaves arguments behind.
    if sc.artefacts.plugin.suffix == ".wfx":
        expected.append("abi\tFsFindNext\tstack off by 8 bytes")
    expected += [
        "findnext\t0",
        "findclose\t0",
        "lasterror\t12345",
        "picker\thost\tBrowse for Folder\tFixture picker\tchoose\tP:\\chosen",
        "posted\t1075\t540\t0",
        "exec\t0\tP:\\chosen",
        "picker\thost\tBrowse for Folder\tFixture picker\tcancel\t",
        "exec\t1\t?",
        "sent\t1076\t1\t2",
        "exec\t0\t\\",
        "exec\t0\t\\",
        "put\tmissing\tFsPutFile",
        "delete\tmissing\tFsDeleteFile",
        "status\tmissing\tFsStatusInfo",
        "getfile\tmissing\tFsGetFile",
        "unload\tok",
        "end\t0",
    ]
    expect_equal(out.kinds(*sorted({line.split("\t")[0] for line in expected})), expected,
                 "the host's report")

    crash = sc.run_host(["exec \\ crash", "echo not reached"], plugin=sc.fixture_path,
                        close_player=False)
    expect(crash.returncode == 3 and [l[0] for l in crash.of("crash")] == ["c0000005"],
           "the host did not report the crash: %r" % crash.text)
    expect(not crash.of("echo"), "the script went on after a crash")
