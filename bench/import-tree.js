// Writes the folder tree of the import benchmark, the same bytes every time:
//
//   node bench/import-tree.js DIR [NOTES]
//
// NOTES Markdown notes (10,000) in 200 folders (20 top folders of 10), half
// of them with front matter (title, tags, created); 2,000 images in
// DIR/images, each linked from about five notes; and 5,000 links between
// notes, half of them by path ("[see](../f03/s4/n123.md#part)"), half as wiki
// links ("[[n123]]").
const fs = require("fs");
const path = require("path");

const dir = process.argv[2];
const notes = Number(process.argv[3] || 10000);
const images = Math.max(1, Math.floor(notes / 5));
const folders = 200;

function folderOf(n) {
  const f = n % folders;
  return `f${String(Math.floor(f / 10)).padStart(2, "0")}/s${f % 10}`;
}

// A small deterministic generator, so that every run writes the same bytes.
let seed = 12345;
function random() {
  seed = (seed * 1103515245 + 12345) & 0x7fffffff;
  return seed;
}

fs.mkdirSync(path.join(dir, "images"), { recursive: true });
for (let i = 0; i < images; i++) {
  const bytes = Buffer.alloc(2048 + (i % 16) * 512);
  for (let b = 0; b < bytes.length; b++) bytes[b] = random() & 0xff;
  bytes.write("\x89PNG\r\n\x1a\n", 0, "latin1");
  fs.writeFileSync(path.join(dir, "images", `img${i}.png`), bytes);
}

const words = "the quick brown fox jumps over a lazy dog while notes pile up in folders".split(" ");
for (let n = 0; n < notes; n++) {
  const folder = folderOf(n);
  fs.mkdirSync(path.join(dir, folder), { recursive: true });
  let text = "";
  if (n % 2 === 1)
    text += `---\ntitle: Note number ${n}\ntags: [bench, group${n % 7}]\ncreated: 2024-0${1 + (n % 9)}-1${n % 10}T08:30:00Z\n---\n`;
  text += `# Heading ${n}\n\n`;
  for (let p = 0; p < 8; p++) {
    let line = "";
    for (let w = 0; w < 18; w++) line += words[random() % words.length] + " ";
    text += line.trim() + ".\n";
  }
  text += `\n![figure](../../images/img${n % images}.png)\n`;
  if (n % 2 === 0) {
    const target = (n * 7 + 3) % notes;
    text += n % 4 === 0
      ? `\nSee [note ${target}](../../${folderOf(target)}/n${target}.md#heading-${target}).\n`
      : `\nSee [[n${target}]].\n`;
  }
  fs.writeFileSync(path.join(dir, folder, `n${n}.md`), text);
}
