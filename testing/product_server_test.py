#!/usr/bin/env python3
"""Tests of the local product server: signature checks against fixed
vectors, the package-answer scenarios, refusals and the record file."""

import json
import os
import shutil
import sys
import tempfile
import unittest
import urllib.error
import urllib.request

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import product_server  # noqa: E402

TOKEN = "5ff20233adc2fa4e9bc123fa37be3013"
MAC = "00:1A:2B:3C:4D:5E"
# MD5 of the signature input for TOKEN, its secret, MAC and 1700000000.
SIGN = "82924e4423b5ef51e8fb9915111cefb2"
SIGNED = ("accessToken=%s&macAddress=%s&playerVersion=0.2&platform=Windows7"
          "&timestamp=1700000000&reservedField=[]&sign=%s" % (TOKEN, MAC, SIGN))


class VerifyTest(unittest.TestCase):
    def setUp(self):
        _, self.credentials = product_server.read_deployment()

    def test_deployment_has_six_pairs(self):
        self.assertEqual(6, len(self.credentials))
        self.assertEqual("0f4427b1d56bafa3b0e86f4bb833d564",
                         self.credentials[TOKEN])

    def test_signed_string_verifies_with_trailing_fields(self):
        self.assertEqual((True, ""), product_server.verify_signed(
            SIGNED, self.credentials))
        self.assertEqual((True, ""), product_server.verify_signed(
            SIGNED + "&version=3.5.1.0", self.credentials))

    def test_tampering_is_refused(self):
        cases = {
            "sign mismatch": SIGNED.replace("1700000000", "1700000001"),
            "sign mismatch ": SIGNED.replace(MAC, "00:1A:2B:3C:4D:5F"),
            "unknown accessToken": SIGNED.replace(TOKEN, TOKEN.upper()),
            "playerVersion": SIGNED.replace("0.2", "3.5"),
            "reservedField": SIGNED.replace("[]", "%5B%5D"),
            "field 'platform' where 'playerVersion' belongs":
                SIGNED.replace("&playerVersion=0.2", "")
                + "&playerVersion=0.2",
            "secret transmitted": SIGNED + "&accessSecret=x",
            "too few fields": "accessToken=%s&sign=%s" % (TOKEN, SIGN),
        }
        for reason, text in cases.items():
            ok, why = product_server.verify_signed(text, self.credentials)
            self.assertFalse(ok, text)
            self.assertEqual(reason.strip(), why, text)


class ServerTest(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="qiv-product-test.")
        self.packs = os.path.join(self.work, "packs")
        os.makedirs(self.packs)
        with open(os.path.join(self.packs, "install.7z"), "wb") as f:
            f.write(bytes(range(256)) * 100)
        with open(os.path.join(self.packs, "rc.zip"), "wb") as f:
            f.write(b"rc" * 10)
        self.record = os.path.join(self.work, "record.jsonl")
        self.server = product_server.ProductServer(self.packs, self.record)
        self.port = self.server.start()
        self.base = "http://127.0.0.1:%d" % self.port

    def tearDown(self):
        self.server.stop()
        shutil.rmtree(self.work)

    def get(self, path, headers=None):
        request = urllib.request.Request(self.base + path,
                                         headers=headers or {})
        try:
            with urllib.request.urlopen(request, timeout=10) as answer:
                return answer.status, answer.read()
        except urllib.error.HTTPError as error:
            return error.code, error.read()

    def records(self):
        with open(self.record) as f:
            return [json.loads(line) for line in f]

    def infor(self):
        return self.get("/api/token/file/v1_0/infor?" + SIGNED +
                        "&version=3.5.1.0")

    def test_good_answer_names_the_packs(self):
        status, body = self.infor()
        self.assertEqual(200, status)
        answer = json.loads(body)
        self.assertEqual("0", answer["errNo"])
        self.assertEqual("25600", answer["fileSize"])
        self.assertEqual(self.base + "/files/install.7z", answer["downloadUrl"])
        self.assertEqual(self.base + "/files/rc.zip", answer["rcDownloadUrl"])
        self.assertEqual("20", answer["rcFileSize"])
        self.assertEqual("accepted", self.records()[0]["verdict"])

    def test_scenarios(self):
        expected = {
            "good-errno2": lambda a: a["errNo"] == "2" and "retMsg" not in a,
            "retmsg": lambda a: a["errNo"] == "2" and "retMsg" in a,
            "errno-number": lambda a: a["errNo"] == 0,
            "errno-other": lambda a: a["errNo"] == "1",
            "errno-missing": lambda a: "errNo" not in a,
            "filesize-short": lambda a: a["fileSize"] == "9999",
            "filesize-number": lambda a: a["fileSize"] == 25600,
            "url-no-http": lambda a: "http" not in a["downloadUrl"],
            "url-empty": lambda a: a["downloadUrl"] == "",
            "not-object": lambda a: isinstance(a, list),
        }
        for name, check in expected.items():
            self.assertEqual(200, self.get("/control/scenario?name=" + name)[0])
            status, body = self.infor()
            self.assertEqual(200, status, name)
            self.assertTrue(check(json.loads(body)), name)
        for name, body in (("empty", b""), ("not-json", None)):
            self.get("/control/scenario?name=" + name)
            status, answer = self.infor()
            self.assertEqual(200, status)
            if body is not None:
                self.assertEqual(body, answer)
            else:
                self.assertRaises(ValueError, json.loads, answer)
        self.assertEqual(400, self.get("/control/scenario?name=bogus")[0])

    def test_empty_first_then_good(self):
        self.get("/control/scenario?name=empty-first")
        self.assertEqual(b"", self.infor()[1])
        self.assertEqual("0", json.loads(self.infor()[1])["errNo"])

    def test_bad_signature_is_refused_and_recorded(self):
        status, _ = self.get("/api/token/file/v1_0/loaded?" +
                             SIGNED.replace(MAC, "11:11:11:11:11:11"))
        self.assertEqual(403, status)
        status, _ = self.get("/api/token/file/v1_0/infor?version=1")
        self.assertEqual(403, status)
        verdicts = [(r["verdict"], r["reason"]) for r in self.records()]
        self.assertEqual([("refused", "sign mismatch"),
                          ("refused", "too few fields")], verdicts)

    def test_reports_and_log_post_are_recorded(self):
        self.assertEqual(200, self.get(
            "/api/token/file/v1_0/diagnose?" + SIGNED + "&failMsg=CPU")[0])
        body = (SIGNED + "&clientType=1&logType=1"
                "&logBody=25minutes downed20percent.").encode()
        request = urllib.request.Request(
            self.base + "/api/token/file/v1_0/log", data=body, method="POST")
        with urllib.request.urlopen(request, timeout=10) as answer:
            self.assertEqual(200, answer.status)
        records = self.records()
        self.assertEqual("accepted", records[0]["verdict"])
        self.assertTrue(records[0]["target"].endswith("&failMsg=CPU"))
        self.assertEqual(("accepted", "POST", body.decode()),
                         (records[1]["verdict"], records[1]["method"],
                          records[1]["body"]))

    def test_packs_are_served_with_ranges(self):
        status, body = self.get("/files/install.7z",
                                {"Range": "bytes=25000-"})
        self.assertEqual(206, status)
        self.assertEqual((bytes(range(256)) * 100)[25000:], body)
        # A pack URL with a query must carry a valid signature.
        self.assertEqual(200, self.get("/files/install.7z?" + SIGNED)[0])
        self.assertEqual(403, self.get("/files/install.7z?x=1")[0])
        self.assertEqual(["unsigned", "accepted", "refused"],
                         [r["verdict"] for r in self.records()])

    def test_game_center_answer(self):
        status, body = self.get("/games/simulator/1234")
        self.assertEqual(200, status)
        data = json.loads(body)["data"]
        self.assertEqual("com.qiv.game1234", data["packageUrl"])


if __name__ == "__main__":
    unittest.main()
