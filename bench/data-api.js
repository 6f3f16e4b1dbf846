// A fast Data API stand-in for benchmarks, on a free loopback port (printed
// on the first line of standard output).
//
//   node bench/data-api.js [NOTEBOOKS] [CAPTURE]
//
// GET /folders answers NOTEBOOKS notebooks ("Notebook 1" ...; "Inbox" is the
// first) 100 a page, as Joplin pages them; GET /tags answers none. Every
// POST reads its body to the end and answers a new 32-digit id; when CAPTURE
// names a file, the body of each POST /notes is written there, so that curl
// can send exactly the same bytes. One note is kept for appending:
// GET /notes/NOTE_ID answers it (with the fields asked for), PUT /notes/NOTE_ID
// replaces its body; its body starts as NOTE_MIB MiB of Markdown lines.
const http = require("http");
const fs = require("fs");

const notebooks = Number(process.argv[2] || 5);
const capture = process.argv[3] || "";
const pageSize = 100;

function hexId(n) {
  return n.toString(16).padStart(32, "0");
}

const pages = [];
for (let first = 0; first < Math.max(notebooks, 1); first += pageSize) {
  const items = [];
  for (let i = first; i < Math.min(first + pageSize, notebooks); i++) {
    items.push({ id: hexId(i + 1), title: i === 0 ? "Inbox" : `Notebook ${i + 1}`, parent_id: "" });
  }
  pages.push(JSON.stringify({ items, has_more: first + pageSize < notebooks }));
}
const noTags = JSON.stringify({ items: [], has_more: false });

const noteId = "0123456789abcdef0123456789abcdef";
const note = { id: noteId, title: "Journal", body: "", markup_language: 1, updated_time: 1,
  parent_id: "" };
const line = "- an entry of the journal, with **bold** words and a path /usr/local/bin\n";
while (note.body.length < Number(process.env.NOTE_MIB || 0) * 1048576) note.body += line.repeat(1000);

function noteFields(url) {
  const fields = (url.searchParams.get("fields") || "id,title,body").split(",");
  const answer = {};
  for (const field of fields) answer[field] = note[field];
  return JSON.stringify(answer);
}

let created = 0x100000;
const server = http.createServer((request, response) => {
  const url = new URL(request.url, "http://localhost");
  const notePath = url.pathname === "/notes/" + noteId;
  const chunks = (capture && url.pathname === "/notes") || notePath ? [] : null;
  request.on("data", (chunk) => { if (chunks) chunks.push(chunk); });
  request.on("end", () => {
    if (chunks && !notePath) fs.writeFileSync(capture, Buffer.concat(chunks));
    let answer;
    if (request.method === "GET" && url.pathname === "/ping") {
      response.setHeader("Content-Type", "text/plain");
      response.end("JoplinClipperServer");
      return;
    }
    if (notePath && request.method === "GET") {
      answer = noteFields(url);
    } else if (notePath && request.method === "PUT") {
      const change = JSON.parse(Buffer.concat(chunks).toString("utf8"));
      if (typeof change.body === "string") note.body = change.body;
      note.updated_time++;
      answer = JSON.stringify({ id: noteId, title: note.title });
    } else if (request.method === "GET" && url.pathname === "/folders") {
      const page = Number(url.searchParams.get("page") || 1);
      answer = pages[page - 1] || JSON.stringify({ items: [], has_more: false });
    } else if (request.method === "GET" && url.pathname === "/tags") {
      answer = noTags;
    } else {
      answer = JSON.stringify({ id: hexId(++created), title: "created" });
    }
    response.setHeader("Content-Type", "application/json");
    response.end(answer);
  });
});
server.keepAliveTimeout = 60000;
server.listen(0, "127.0.0.1", () => console.log(server.address().port));
