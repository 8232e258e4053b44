#!/usr/bin/env python3
"""Parses the deploy folder back (YAML and JSON) and compares it with what the installer writes:
its uninstall entry from the settings (values trimmed of codes 1 to 32, as the installer reads
them), the exit codes deployment tools are told, and the installer's own hash.

usage: check_deploy.py SAMPLE_DIR   (holding settings.txt, setup.exe and deploy/)"""
import hashlib
import json
import pathlib
import sys

import yaml

# Every exit code of the installer and the winget response it must be given; 0 is implied.
EXPECTED_CODES = {
    3010: "rebootRequiredToFinish", 1602: "cancelledByUser", 1603: "installFailed",
    1618: "installInProgress", 1639: "invalidParameter", 112: "diskFull",
    267: "invalidParameter", 1620: "custom", 1622: "custom",
}
UNINSTALL_KEY = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"


def trim(text):
    return text.strip("".join(chr(c) for c in range(1, 33)))


def settings(path):
    values = {}
    for line in path.read_text(encoding="utf-8").splitlines():
        if not trim(line) or trim(line).startswith("#"):
            continue
        key, value = line.split("=")
        values[trim(key)] = trim(value)
    return values


def expect(what, got, wanted):
    if got != wanted:
        sys.exit(f"check_deploy: {what}: {got!r}, expected {wanted!r}")


def main():
    sample = pathlib.Path(sys.argv[1])
    s = settings(sample / "settings.txt")
    deploy = sample / "deploy"
    w = yaml.safe_load((deploy / "winget-installer.yaml").read_text(encoding="utf-8"))
    expect("InstallerType", w["InstallerType"], "exe")
    expect("InstallerSwitches", w["InstallerSwitches"], {
        "Silent": "/VERYSILENT /SUPPRESSMSGBOXES /NORESTART",
        "SilentWithProgress": "/SILENT /SUPPRESSMSGBOXES /NORESTART",
        "Log": '/LOG="<LOGPATH>"',
        "InstallLocation": '/DIR="<INSTALLPATH>"',
    })
    codes = {c["InstallerReturnCode"]: c["ReturnResponse"] for c in w["ExpectedReturnCodes"]}
    expect("ExpectedReturnCodes", codes, EXPECTED_CODES)
    expect("ProductCode", w["ProductCode"], s["Company"])
    expect("AppsAndFeaturesEntries", w["AppsAndFeaturesEntries"], [{
        "DisplayName": s["SoftSysName"], "Publisher": s["Company"],
        "DisplayVersion": s["SoftVersion"], "ProductCode": s["Company"],
    }])
    digest = hashlib.sha256((sample / "setup.exe").read_bytes()).hexdigest().upper()
    expect("InstallerSha256", w["Installers"][0]["InstallerSha256"], digest)

    rule = json.loads((deploy / "detection-rule.json").read_text(encoding="utf-8"))
    expect("keyPath", rule["keyPath"], UNINSTALL_KEY + s["Company"])
    expect("valueName", rule["valueName"], "DisplayVersion")
    expect("check32BitOn64System", rule["check32BitOn64System"], True)
    expect("operationType", rule["operationType"], "version")
    expect("operator", rule["operator"], "greaterThanOrEqual")
    expect("comparisonValue", rule["comparisonValue"], s["SoftVersion"])

    text = (deploy / "switches.txt").read_text(encoding="utf-8")
    for code in [0, *EXPECTED_CODES]:
        if f"\n  {code:<6d}" not in text:
            sys.exit(f"check_deploy: switches.txt does not list exit code {code}")
    print("check_deploy: the deploy folder parses and matches the installer")


if __name__ == "__main__":
    main()
