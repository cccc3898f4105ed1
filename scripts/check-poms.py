#!/usr/bin/env python3
"""Checks what a release would publish, after mvn -Prelease verify (or install).

For the parent and every module of the reactor, the POM that Maven installs
and deploys (the flattened .flattened-pom.xml, its own fields and those it
inherits from the parent, as Maven inherits them) must hold all that Maven
Central requires: groupId, artifactId and version with no ${...} left, name,
description, url, a licence with its name and url, a developer, and scm with
its url and connection. Beside each module's jar in target/: the sources jar,
the javadoc jar and the CycloneDX bill of materials; with --signed, a .asc
signature beside each of these and beside the POM. Every jar in target/
carries META-INF/LICENSE (this project's licence first) and META-INF/NOTICE;
a jar that bundles other libraries names each of them in META-INF/THIRD-PARTY.txt.

  scripts/check-poms.py [--signed]
"""
import re
import sys
import zipfile
from pathlib import Path
import xml.etree.ElementTree as ET

ROOT = Path(__file__).resolve().parent.parent
NS = {"m": "http://maven.apache.org/POM/4.0.0"}
INHERITED = ["groupId", "version", "description", "url"]


def text(elem, path):
    found = elem.find(path, NS)
    return found.text.strip() if found is not None and found.text else None


def appended(parent_value, artifact_id, no_append):
    """A url the child inherits: the parent's with /artifactId, unless said not to."""
    if parent_value is None or no_append:
        return parent_value
    return parent_value.rstrip("/") + "/" + artifact_id


def published(module_dir, parent):
    """The fields Central reads from a module's published POM, after inheritance."""
    pom_file = module_dir / ".flattened-pom.xml"
    if not pom_file.exists():
        return None, [f"{pom_file.relative_to(ROOT)} missing: build first"]
    pom = ET.parse(pom_file).getroot()
    problems = []
    raw = pom_file.read_text(encoding="utf-8")
    if "${revision}" in raw:
        problems.append(f"{pom_file.relative_to(ROOT)} still holds ${{revision}}")
    fields = {"artifactId": text(pom, "m:artifactId"), "name": text(pom, "m:name"),
              "parentVersion": text(pom, "m:parent/m:version")}
    for key in INHERITED:
        fields[key] = text(pom, f"m:{key}")
    fields["licenses"] = [(text(l, "m:name"), text(l, "m:url"))
                          for l in pom.findall("m:licenses/m:license", NS)]
    fields["developers"] = [text(d, "m:id") or text(d, "m:name")
                            for d in pom.findall("m:developers/m:developer", NS)]
    scm = pom.find("m:scm", NS)
    fields["scm"] = None if scm is None else {
        "url": text(scm, "m:url"), "connection": text(scm, "m:connection")}
    if parent is not None:
        p = parent["fields"]
        for key in ["groupId", "version", "description"]:
            fields[key] = fields[key] or p[key]
        no_append = parent["root"].get("child.project.url.inherit.append.path") == "false"
        fields["url"] = fields["url"] or appended(p["url"], fields["artifactId"], no_append)
        fields["licenses"] = fields["licenses"] or p["licenses"]
        fields["developers"] = fields["developers"] or p["developers"]
        if fields["scm"] is None and p["scm"] is not None:
            pscm = parent["root"].find("m:scm", NS)
            fields["scm"] = {
                k: appended(v, fields["artifactId"],
                            pscm.get(f"child.scm.{k}.inherit.append.path") == "false")
                for k, v in p["scm"].items()}
    return {"fields": fields, "root": pom, "dir": module_dir}, problems


def check_fields(name, f):
    problems = []
    for key in ["groupId", "artifactId", "version", "name", "description", "url"]:
        if not f[key]:
            problems.append(f"{name}: no {key}")
        elif "${" in f[key]:
            problems.append(f"{name}: {key} {f[key]} unresolved")
    if f["parentVersion"] and "${" in f["parentVersion"]:
        problems.append(f"{name}: parent version {f['parentVersion']} unresolved")
    if not f["licenses"] or not all(n and u for n, u in f["licenses"]):
        problems.append(f"{name}: no licence with a name and a url")
    if not f["developers"] or not all(f["developers"]):
        problems.append(f"{name}: no developer")
    if not f["scm"] or not f["scm"]["url"] or not f["scm"]["connection"]:
        problems.append(f"{name}: no scm url and connection")
    for url in [f["url"]] + ([f["scm"]["url"]] if f["scm"] and f["scm"]["url"] else []):
        if url and not re.match(r"https?://", url):
            problems.append(f"{name}: url {url} is not http(s)")
    return problems


def check_jar(jar, licence, notice_line):
    problems = []
    with zipfile.ZipFile(jar) as z:
        names = set(z.namelist())
        if "META-INF/LICENSE" not in names:
            return [f"{jar.relative_to(ROOT)} lacks META-INF/LICENSE"]
        if not z.read("META-INF/LICENSE").decode("utf-8").startswith(licence):
            problems.append(f"{jar.relative_to(ROOT)}: META-INF/LICENSE is not LICENSE")
        if "META-INF/NOTICE" not in names:
            problems.append(f"{jar.relative_to(ROOT)} lacks META-INF/NOTICE")
        elif notice_line not in z.read("META-INF/NOTICE").decode("utf-8"):
            problems.append(f"{jar.relative_to(ROOT)}: META-INF/NOTICE lacks {notice_line!r}")
        bundled = sorted({n.split("/")[2] + ":" + n.split("/")[3] for n in names
                          if re.fullmatch(r"META-INF/maven/[^/]+/[^/]+/pom\.properties", n)
                          and not n.startswith("META-INF/maven/org.varnoth/")})
        if bundled:
            listing = (z.read("META-INF/THIRD-PARTY.txt").decode("utf-8")
                       if "META-INF/THIRD-PARTY.txt" in names else "")
            unnamed = [b for b in bundled if b not in listing]
            if unnamed:
                problems.append(f"{jar.relative_to(ROOT)} bundles {', '.join(unnamed)}, "
                                f"which its META-INF/THIRD-PARTY.txt does not name")
    return problems


def main():
    signed = "--signed" in sys.argv[1:]
    licence = (ROOT / "LICENSE").read_text(encoding="utf-8")
    notice_line = next(l for l in (ROOT / "NOTICE").read_text(encoding="utf-8").splitlines()
                       if l.startswith("Copyright"))
    root_pom = ET.parse(ROOT / "pom.xml").getroot()
    modules = [m.text.strip() for m in root_pom.findall("m:modules/m:module", NS)]
    parent, problems = published(ROOT, None)
    if parent is None:
        print("\n".join(problems), file=sys.stderr)
        return 1
    problems += check_fields("parent", parent["fields"])
    projects = [("parent", parent)]
    for m in modules:
        project, found = published(ROOT / m, parent)
        problems += found
        if project is not None:
            problems += check_fields(m, project["fields"])
            projects.append((m, project))

    for name, project in projects:
        f, target = project["fields"], project["dir"] / "target"
        base = f"{f['artifactId']}-{f['version']}"
        packaging = text(project["root"], "m:packaging") or "jar"
        files = [target / f"{base}-cyclonedx.json"]
        final = text(project["root"], "m:build/m:finalName") or base
        final = final.replace("${project.version}", f["version"]) \
                     .replace("${project.artifactId}", f["artifactId"])
        if packaging == "jar":
            files += [target / f"{final}{c}.jar" for c in ["", "-sources", "-javadoc"]]
        if signed:
            files += [Path(str(p) + ".asc") for p in files]
            files.append(target / f"{final}.pom.asc")
        missing = [str(p.relative_to(ROOT)) for p in files if not p.exists()]
        problems += [f"{name}: {p} missing" for p in missing]
        jars = sorted(target.glob("*.jar")) if target.is_dir() else []
        for jar in jars:
            problems += check_jar(jar, licence, notice_line)
        licences = "; ".join(str(n) for n, _ in f["licenses"]) or "no licence"
        print(f"{f['groupId']}:{f['artifactId']}:{f['version']} ({f['name']}): {licences}, "
              f"url {f['url']}, scm {f['scm']['connection'] if f['scm'] else None}, "
              f"developers {', '.join(map(str, f['developers']))}; {len(files) - len(missing)} of "
              f"{len(files)} files beside it{' signed' if signed else ''}; "
              f"{len(jars)} jars carry the licence")
    if problems:
        print("\n".join(problems), file=sys.stderr)
        return 1
    print(f"the POMs of {len(projects)} artifacts hold what Maven Central requires")
    return 0


if __name__ == "__main__":
    sys.exit(main())
